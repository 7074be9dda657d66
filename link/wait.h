// wait.h - what the writer and the reader procedures of the text link
// share: the polling wait on a flag and the flag writes.  They call only
// the port operations that every link gateway calls; a writer's driver
// text for a failed read comes through the wait's describe, so that the
// readers do not link the error text operation.
#ifndef DAQGATE_LINK_WAIT_H
#define DAQGATE_LINK_WAIT_H

#include <chrono>
#include <cstdint>
#include <cstdio>

#include "link.h"

namespace daqgate {
namespace link {

using Clock = std::chrono::steady_clock;

// One polling wait: the port it reads, its limit in seconds (none unless
// greater than 0, so NaN means none too) and its two messages.  A read
// error with a describe (not nullptr) carries the text it gives for the
// failed status in place of its %s.
struct Wait {
    int port;
    double limit;
    const char *read_error;
    const char *timeout_error;
    void (*describe)(int status, char *text);  // CB_ERRSTRLEN bytes
};

[[noreturn]] inline void raise_read_error(const Wait &wait, int status)
{
    if (wait.describe == nullptr)
        raise(wait.read_error);
    char text[CB_ERRSTRLEN] = {};
    wait.describe(status, text);
    text[CB_ERRSTRLEN - 1] = '\0';
    char message[2 * CB_ERRSTRLEN];
    std::snprintf(message, sizeof message, wait.read_error, text);
    raise(message);
}

// The driver calls of one gateway call.  Before each it may ask whether
// the user has pressed Ctrl-C, off the fast path: counted across the whole
// call, not per wait, so that a peer whose every wait ends on its first
// poll (an endless stream) cannot keep the question from being asked.  It
// is asked once a stride of calls, and a stride is paced by the clock: it
// doubles, up to kLongestStride, while a stride takes less than slow(), and
// falls to one call as soon as one takes longer.  On a board that answers
// in nanoseconds the clock is read once in hundreds of calls; on one that
// takes a millisecond or a second a call, the question comes between every
// two calls.
class Poller {
public:
    explicit Poller(const Call &call) : call_(call), strode_(Clock::now()) {}

    enum : uint32_t { kLongestStride = 256 };
    // A stride slower than this falls back to one call.
    static Clock::duration slow() { return std::chrono::milliseconds(1); }

    // Polls until done(value) holds and returns that value.  Within each
    // poll: the driver read, then the time test, then the state test, so
    // that a state reached after the limit still ends in the timeout
    // error.  The clock is read only when the wait has a limit, from a
    // monotonic source: elapsed time, not processor time.
    template <typename Done>
    unsigned short poll(int board, const Wait &wait, Done done)
    {
        const bool bounded = wait.limit > 0;
        const Clock::time_point start = bounded ? Clock::now() : Clock::time_point{};
        for (;;) {
            unsigned short value = 0;
            const int status = read(board, wait.port, &value);
            if (status != 0)
                raise_read_error(wait, status);
            if (bounded && std::chrono::duration<double>(Clock::now() - start).count() > wait.limit)
                raise(wait.timeout_error);
            if (done(value))
                return value;
        }
    }

    // The port operations, each after a look at the user.
    int read(int board, int port, unsigned short *value)
    {
        heed();
        return cbReadPort(board, port, value);
    }
    int write(int board, int port, unsigned short value)
    {
        heed();
        return cbWritePort(board, port, value);
    }
    void write_flag(int board, int port, unsigned short value, const char *error)
    {
        if (write(board, port, value) != 0)
            raise(error);
    }

private:
    void heed()
    {
        if (++calls_ < stride_)
            return;
        const Clock::time_point now = Clock::now();
        stride_ = now - strode_ > slow() ? 1 : (stride_ < kLongestStride ? 2 * stride_ : kLongestStride);
        calls_ = 0;
        strode_ = now;
        if (interrupt_requested())
            call_.interrupted("wait");
    }

    const Call &call_;
    uint32_t calls_ = 0;
    uint32_t stride_ = 1;
    Clock::time_point strode_;  // when the last stride ended
};

// A byte goes on the data port sign-extended to 16 bits: 0xE9 as 0xFFE9.
inline unsigned short sign_extended(char byte)
{
    return static_cast<unsigned short>(static_cast<int16_t>(static_cast<signed char>(byte)));
}

}  // namespace link
}  // namespace daqgate

#endif
