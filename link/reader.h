// reader.h - the reader procedure of the handshake text link.
#ifndef DAQGATE_LINK_READER_H
#define DAQGATE_LINK_READER_H

#include "wait.h"

namespace daqgate {

using link::Poller;
using link::Wait;

inline void run_reader(const ReaderMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
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

    // The sender bit's messages call it the "server bit", as scripts know
    // them; they stay so.
    const Wait sender_up{ports.sender, timeout, "*** Error reading server bit 1",
                         "*** Server bit read timeout 1", nullptr};
    // The writer is due to lower its request within a second of seeing the
    // read bit; with no limit at all the wait is unbounded as well.
    const Wait sender_down{ports.sender, timeout > 0 ? 1.0 : 0.0, "*** Error reading server bit 2",
                           "*** Server bit read timeout 2", nullptr};

    // Sizes in 64 bits: growing by step never wraps around.
    int64_t capacity = step;
    int64_t pos = 0;
    char *buffer = static_cast<char *>(mxMalloc(static_cast<size_t>(capacity)));

    // A reader takes a line only if the request is up when it is called.
    Poller poller(call);
    unsigned short opening = 0;
    poller.read(board, ports.sender, &opening);  // status not examined
    bool line = false;
    if (opening != 0) {
        if (chatty)
            mexPrintf("string sent\n");
        for (;;) {
            poller.poll(board, sender_up, [](unsigned short s) { return s != 0; });
            if (chatty)
                mexPrintf("server bit checked\n");
            unsigned short data = 0;
            if (poller.read(board, ports.data, &data) != 0)
                raise("*** Could not read the character");
            poller.write_flag(board, ports.receiver, 1, "*** Could not set read bit 1");
            const char byte = static_cast<char>(data & 0xFF);
            if (chatty)
                mexPrintf("%c read, read flag toggled\n", byte);
            poller.poll(board, sender_down, [](unsigned short s) { return (s & 1) == 0; });
            if (chatty)
                mexPrintf("server knows we've read\n");
            poller.write_flag(board, ports.receiver, 0, "*** Could not set read bit 2");
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

#endif
