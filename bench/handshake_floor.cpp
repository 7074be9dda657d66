// handshake_floor - the fastest a four-phase handshake between two
// processes goes on this machine: a writer and a reader process over one
// shared mapping of three atomic words (data, request, acknowledge), the
// same kind of memory the simulated rig keeps its lines in, with nothing
// else in the way.  The text link cannot beat it.  With the word "driver"
// last, the same handshake goes through the driver's port operations on
// the rig of $DAQGATE_RIG instead, on the ports and boards of the link
// (board 0 writes data and request on ports 10 and 11, board 1 answers on
// 14): the floor of any gateway that makes its handshake through the
// driver, with no host around it.
//
//   handshake_floor CHARACTERS [WRITER_CPU READER_CPU [LIMIT [driver]]]
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
#include <cstring>
#include <new>

#include <sched.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cbw32.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Lines {
    std::atomic<uint16_t> data;
    std::atomic<uint16_t> request;
    std::atomic<uint16_t> acknowledge;
    std::atomic<int> ready;  // the writer is in place
    std::atomic<int> go;     // the clock runs
};

// The three lines as bare words in the shared mapping.
struct MemoryLines {
    Lines &lines;
    uint16_t acknowledge() const { return lines.acknowledge.load(std::memory_order_acquire); }
    uint16_t request() const { return lines.request.load(std::memory_order_acquire); }
    uint16_t data() const { return lines.data.load(std::memory_order_acquire); }
    void put_data(uint16_t value) const { lines.data.store(value, std::memory_order_release); }
    void put_request(uint16_t value) const { lines.request.store(value, std::memory_order_release); }
    void put_acknowledge(uint16_t value) const { lines.acknowledge.store(value, std::memory_order_release); }
};

// The same lines as ports of the rig, each end on its own board.
struct DriverLines {
    static uint16_t read(int board, int port)
    {
        unsigned short value = 0;
        cbReadPort(board, port, &value);
        return value;
    }
    uint16_t acknowledge() const { return read(0, 14); }
    uint16_t request() const { return read(1, 11); }
    uint16_t data() const { return read(1, 10); }
    void put_data(uint16_t value) const { cbWritePort(0, 10, value); }
    void put_request(uint16_t value) const { cbWritePort(0, 11, value); }
    void put_acknowledge(uint16_t value) const { cbWritePort(1, 14, value); }
};

// Waits until done(line()); with a limit above 0, as a bounded wait of
// the link: the line read, then the clock, then the state tested.  False
// when the limit passed.
template <typename Line, typename Done>
bool await(Line line, double limit, Done done)
{
    if (!(limit > 0)) {
        while (!done(line())) {
        }
        return true;
    }
    const Clock::time_point start = Clock::now();
    for (;;) {
        const uint16_t value = line();
        if (std::chrono::duration<double>(Clock::now() - start).count() > limit)
            return false;
        if (done(value))
            return true;
    }
}

template <typename Ends>
bool write_line(const Ends &ends, long characters, double limit)
{
    const auto acknowledge = [&] { return ends.acknowledge(); };
    for (long i = 0; i < characters; ++i) {
        if (!await(acknowledge, limit, [](uint16_t a) { return a == 0; }))
            return false;
        ends.put_data(static_cast<uint16_t>('a' + i % 26));
        ends.put_request(1);
        if (!await(acknowledge, limit, [](uint16_t a) { return a != 0; }))
            return false;
        ends.put_request(0);
    }
    return true;
}

template <typename Ends>
long read_line(const Ends &ends, long characters, double limit)
{
    const auto request = [&] { return ends.request(); };
    long sum = 0;
    for (long i = 0; i < characters; ++i) {
        if (!await(request, limit, [](uint16_t r) { return r != 0; }))
            return -1;
        sum += ends.data();
        ends.put_acknowledge(1);
        if (!await(request, limit, [](uint16_t r) { return (r & 1) == 0; }))
            return -1;
        ends.put_acknowledge(0);
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
    const bool driver = argc > 5 && std::strcmp(argv[5], "driver") == 0;
    if (driver) {
        // Each end's directions set whatever an earlier user left, and the
        // flags low, before either end starts.
        const bool set = cbSetPortDirection(0, 10, CB_DIGITAL_OUT) == 0 &&
                         cbSetPortDirection(0, 11, CB_DIGITAL_OUT) == 0 &&
                         cbSetPortDirection(0, 14, CB_DIGITAL_IN) == 0 &&
                         cbSetPortDirection(1, 10, CB_DIGITAL_IN) == 0 &&
                         cbSetPortDirection(1, 11, CB_DIGITAL_IN) == 0 &&
                         cbSetPortDirection(1, 14, CB_DIGITAL_OUT) == 0 && cbWritePort(0, 11, 0) == 0 &&
                         cbWritePort(1, 14, 0) == 0;
        if (!set) {
            std::fprintf(stderr, "handshake_floor: the rig's ports cannot be set up\n");
            return 1;
        }
    }
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
        const bool written = driver ? write_line(DriverLines{}, characters, limit)
                                    : write_line(MemoryLines{lines}, characters, limit);
        _exit(written ? 0 : 3);
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
    const long sum =
        driver ? read_line(DriverLines{}, characters, limit) : read_line(MemoryLines{lines}, characters, limit);
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
