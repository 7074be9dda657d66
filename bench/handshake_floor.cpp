// handshake_floor - the fastest a four-phase handshake between two
// processes goes on this machine: a writer and a reader process over one
// shared mapping of three atomic words (data, request, acknowledge), the
// same kind of memory the simulated rig keeps its lines in, with nothing
// else in the way.  The text link cannot beat it.
//
//   handshake_floor CHARACTERS [WRITER_CPU READER_CPU]
//
// prints characters per second.  Given processors, each end is held on its
// own, as the benchmark holds the two ends of the text link: where the
// scheduler puts two spinning processes decides the rate more than they do.
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

struct Lines {
    std::atomic<uint16_t> data;
    std::atomic<uint16_t> request;
    std::atomic<uint16_t> acknowledge;
    std::atomic<int> ready;  // the writer is in place
    std::atomic<int> go;     // the clock runs
};

void write_line(Lines &lines, long characters)
{
    for (long i = 0; i < characters; ++i) {
        while (lines.acknowledge.load(std::memory_order_acquire) != 0) {
        }
        lines.data.store(static_cast<uint16_t>('a' + i % 26), std::memory_order_release);
        lines.request.store(1, std::memory_order_release);
        while (lines.acknowledge.load(std::memory_order_acquire) == 0) {
        }
        lines.request.store(0, std::memory_order_release);
    }
}

long read_line(Lines &lines, long characters)
{
    long sum = 0;
    for (long i = 0; i < characters; ++i) {
        while (lines.request.load(std::memory_order_acquire) == 0) {
        }
        sum += lines.data.load(std::memory_order_acquire);
        lines.acknowledge.store(1, std::memory_order_release);
        while ((lines.request.load(std::memory_order_acquire) & 1) != 0) {
        }
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
        write_line(lines, characters);
        _exit(0);
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
    const long sum = read_line(lines, characters);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    waitpid(writer, nullptr, 0);
    std::printf("%.0f\n", characters / seconds);
    return sum == 0 && characters > 0 ? 1 : 0;
}
