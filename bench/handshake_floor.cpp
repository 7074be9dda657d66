// handshake_floor - the fastest a four-phase handshake between two
// processes goes on this machine: a writer and a reader process over one
// shared mapping of three atomic words (data, request, acknowledge), the
// same kind of memory the simulated rig keeps its lines in, with nothing
// else in the way.  The text link cannot beat it.
//
//   handshake_floor CHARACTERS [WRITER_CPU READER_CPU [LIMIT]]
//
// prints characters per second.  Given processors, each end is held on its
// own, as the benchmark holds the two ends of the text link: where the
// scheduler puts two spinning processes decides the rate more than they do.
// Given a LIMIT in seconds above 0, every wait is bounded as the link's
// waits are then: the clock read when the wait starts and at every poll.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <sched.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Lines {
    std::atomic<uint16_t> data;
    std::atomic<uint16_t> request;
    std::atomic<uint16_t> acknowledge;
    std::atomic<int> ready;  // the writer is in place
    std::atomic<int> go;     // the clock runs
};

// Waits until done(the line's value); with a limit above 0, as a bounded
// wait of the link: the line read, then the clock, then the state tested.
// False when the limit passed.
template <typename Done>
bool await(const std::atomic<uint16_t> &line, double limit, Done done)
{
    if (!(limit > 0)) {
        while (!done(line.load(std::memory_order_acquire))) {
        }
        return true;
    }
    const Clock::time_point start = Clock::now();
    for (;;) {
        const uint16_t value = line.load(std::memory_order_acquire);
        if (std::chrono::duration<double>(Clock::now() - start).count() > limit)
            return false;
        if (done(value))
            return true;
    }
}

bool write_line(Lines &lines, long characters, double limit)
{
    for (long i = 0; i < characters; ++i) {
        if (!await(lines.acknowledge, limit, [](uint16_t a) { return a == 0; }))
            return false;
        lines.data.store(static_cast<uint16_t>('a' + i % 26), std::memory_order_release);
        lines.request.store(1, std::memory_order_release);
        if (!await(lines.acknowledge, limit, [](uint16_t a) { return a != 0; }))
            return false;
        lines.request.store(0, std::memory_order_release);
    }
    return true;
}

long read_line(Lines &lines, long characters, double limit)
{
    long sum = 0;
    for (long i = 0; i < characters; ++i) {
        if (!await(lines.request, limit, [](uint16_t r) { return r != 0; }))
            return -1;
        sum += lines.data.load(std::memory_order_acquire);
        lines.acknowledge.store(1, std::memory_order_release);
        if (!await(lines.request, limit, [](uint16_t r) { return (r & 1) == 0; }))
            return -1;
        lines.acknowledge.store(0, std::memory_order_release);
    }
    return sum;
}

// Holds this process on one processor; a negative one leaves it free.
bool pin(int cpu)
{
    if (cpu < 0)
        return true;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

}  // namespace

int main(int argc, char **argv)
{
    const long characters = argc > 1 ? std::atol(argv[1]) : 100000;
    const int writer_cpu = argc > 3 ? std::atoi(argv[2]) : -1;
    const int reader_cpu = argc > 3 ? std::atoi(argv[3]) : -1;
    const double limit = argc > 4 ? std::atof(argv[4]) : 0;
    void *map = mmap(nullptr, sizeof(Lines), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) {
        std::perror("handshake_floor: mmap");
        return 1;
    }
    Lines &lines = *new (map) Lines{};
    const pid_t writer = fork();
    if (writer == 0) {
        if (!pin(writer_cpu))
            _exit(2);
        lines.ready.store(1);
        while (lines.go.load() == 0) {
        }
        _exit(write_line(lines, characters, limit) ? 0 : 3);
    }
    if (!pin(reader_cpu)) {
        std::perror("handshake_floor: sched_setaffinity");
        return 1;
    }
    // Timed from both ends in place: not the fork, not the pinning.
    while (lines.ready.load() == 0) {
    }
    const auto start = std::chrono::steady_clock::now();
    lines.go.store(1);
    const long sum = read_line(lines, characters, limit);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int ended = 0;
    waitpid(writer, &ended, 0);
    if (sum < 0 || !WIFEXITED(ended) || WEXITSTATUS(ended) != 0) {
        std::fprintf(stderr, "handshake_floor: a wait passed its limit\n");
        return 1;
    }
    std::printf("%.0f\n", characters / seconds);
    return sum == 0 && characters > 0 ? 1 : 0;
}
