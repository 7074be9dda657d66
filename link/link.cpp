// link.cpp - the writer and reader procedures of the handshake text link.
#include "link.h"

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace daqgate {

namespace {

using Clock = std::chrono::steady_clock;

// One polling wait: the port it reads, its limit in seconds (none unless
// greater than 0, so NaN means none too) and its two messages.  A read
// error with driver_text carries the driver's text for the failed status
// in place of its %s.
struct Wait {
    int port;
    double limit;
    const char *read_error;
    const char *timeout_error;
    bool driver_text = false;
};

[[noreturn]] void raise_read_error(const Wait &wait, int status)
{
    if (!wait.driver_text)
        raise(wait.read_error);
    char text[CB_ERRSTRLEN] = {};
    cbErrorText(status, text);
    text[CB_ERRSTRLEN - 1] = '\0';
    char message[2 * CB_ERRSTRLEN];
    std::snprintf(message, sizeof message, wait.read_error, text);
    raise(message);
}

// The polls of one gateway call.  Now and then, off the fast path, it asks
// whether the user has pressed Ctrl-C: counted across the whole call, not
// per wait, so that a peer whose every wait ends on its first poll (an
// endless stream) cannot keep the question from being asked.
class Poller {
public:
    explicit Poller(const Call &call) : call_(call) {}

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
            if ((++polls_ & 0xFFF) == 0 && interrupt_requested())
                call_.refuse("wait", "interrupted by the user");
            unsigned short value = 0;
            const int status = cbReadPort(board, wait.port, &value);
            if (status != 0)
                raise_read_error(wait, status);
            if (bounded && std::chrono::duration<double>(Clock::now() - start).count() > wait.limit)
                raise(wait.timeout_error);
            if (done(value))
                return value;
        }
    }

private:
    const Call &call_;
    uint32_t polls_ = 0;
};

void write_flag(int board, int port, unsigned short value, const char *error)
{
    if (cbWritePort(board, port, value) != 0)
        raise(error);
}

// A byte goes on the data port sign-extended to 16 bits: 0xE9 as 0xFFE9.
unsigned short sign_extended(char byte)
{
    return static_cast<unsigned short>(static_cast<int16_t>(static_cast<signed char>(byte)));
}

}  // namespace

void run_writer(const WriterMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(member.gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    char *text = call.text(1, "stringTowrite");
    const double timeout = call.real(2, "timeOut");
    const LinkPorts &ports = member.ports;

    const Wait receiver_down{ports.receiver, timeout, "*** Error reading receiver bit 1: %s",
                             "*** Receiver bit read timeout 1", true};
    const Wait receiver_up{ports.receiver, timeout, "*** Error reading receiver bit 2",
                           "*** Receiver bit read timeout 2"};

    Poller poller(call);
    int32_t count = 0;
    for (const char *byte = text; *byte != '\0'; ++byte) {
        poller.poll(board, receiver_down, [](unsigned short r) { return r == 0; });
        cbWritePort(board, ports.data, sign_extended(*byte));  // status not examined
        write_flag(board, ports.sender, 1, "*** Error writing sender bit 1");
        poller.poll(board, receiver_up, [](unsigned short r) { return r != 0; });
        write_flag(board, ports.sender, 0, "*** Error writing sender bit 0");
        if (member.clears_data)
            cbWritePort(board, ports.data, 0);  // status not examined
        ++count;
    }
    mxFree(text);
    call.put(0, count);
}

void run_reader(const ReaderMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(member.gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const double timeout = call.real(1, "timeOut");
    const int32_t step = call.integer(2, "buffSize");
    // The buffer keeps two bytes free behind the characters (the line feed
    // of a pulled line and the terminator), so it needs at least two.
    if (step < 2)
        call.refuse("buffSize", "must be at least 2");
    const LinkPorts &ports = member.ports;
    const bool chatty = member.progress == ReaderProgress::handshake;

    const Wait sender_up{ports.sender, timeout, "*** Error reading server bit 1",
                         "*** Server bit read timeout 1"};
    // The writer is due to lower its request within a second of seeing the
    // read bit; with no limit at all the wait is unbounded as well.
    const Wait sender_down{ports.sender, timeout > 0 ? 1.0 : 0.0, "*** Error reading server bit 2",
                           "*** Server bit read timeout 2"};

    // Sizes in 64 bits: growing by step never wraps around.
    int64_t capacity = step;
    int64_t pos = 0;
    char *buffer = static_cast<char *>(mxMalloc(static_cast<size_t>(capacity)));

    // A reader takes a line only if the request is up when it is called.
    unsigned short opening = 0;
    cbReadPort(board, ports.sender, &opening);  // status not examined
    bool line = false;
    Poller poller(call);
    if (opening != 0) {
        if (chatty)
            mexPrintf("string sent\n");
        for (;;) {
            poller.poll(board, sender_up, [](unsigned short s) { return s != 0; });
            if (chatty)
                mexPrintf("server bit checked\n");
            unsigned short data = 0;
            if (cbReadPort(board, ports.data, &data) != 0)
                raise("*** Could not read the character");
            write_flag(board, ports.receiver, 1, "*** Could not set read bit 1");
            const char byte = static_cast<char>(data & 0xFF);
            if (chatty)
                mexPrintf("%c read, read flag toggled\n", byte);
            poller.poll(board, sender_down, [](unsigned short s) { return (s & 1) == 0; });
            if (chatty)
                mexPrintf("server knows we've read\n");
            write_flag(board, ports.receiver, 0, "*** Could not set read bit 2");
            if (chatty)
                mexPrintf("ready for another read\n");

            if (byte == '\n') {
                line = true;
                break;
            }
            if (pos == capacity - 2) {
                capacity += step;
                buffer = static_cast<char *>(mxRealloc(buffer, static_cast<size_t>(capacity)));
            }
            buffer[pos] = byte;
            if (member.progress == ReaderProgress::per_char)
                mexPrintf("the value is {0}");
            ++pos;
        }
    }
    // A received zero byte ends the text there.
    if (line && member.keeps_line_feed)
        buffer[pos++] = '\n';
    buffer[pos] = '\0';
    call.put_text(0, buffer);
    mxFree(buffer);
}

}  // namespace daqgate
