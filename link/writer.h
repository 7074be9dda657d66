// writer.h - the writer procedure of the handshake text link.
#ifndef DAQGATE_LINK_WRITER_H
#define DAQGATE_LINK_WRITER_H

#include "wait.h"

namespace daqgate {

using link::Poller;
using link::sign_extended;
using link::Wait;

namespace writer {

inline void driver_text(int status, char *text)
{
    cbErrorText(status, text);
}

}  // namespace writer

inline void run_writer(const WriterMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(member.gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    char *text = call.text(1, "stringTowrite");
    const double timeout = call.real(2, "timeOut");
    const LinkPorts &ports = member.ports;

    const Wait receiver_down{ports.receiver, timeout, "*** Error reading receiver bit 1: %s",
                             "*** Receiver bit read timeout 1", writer::driver_text};
    const Wait receiver_up{ports.receiver, timeout, "*** Error reading receiver bit 2",
                           "*** Receiver bit read timeout 2", nullptr};

    Poller poller(call);
    int32_t count = 0;
    for (const char *byte = text; *byte != '\0'; ++byte) {
        poller.poll(board, receiver_down, [](unsigned short r) { return r == 0; });
        poller.write(board, ports.data, sign_extended(*byte));  // status not examined
        poller.write_flag(board, ports.sender, 1, "*** Error writing sender bit 1");
        poller.poll(board, receiver_up, [](unsigned short r) { return r != 0; });
        poller.write_flag(board, ports.sender, 0, "*** Error writing sender bit 0");
        if (member.clears_data)
            poller.write(board, ports.data, 0);  // status not examined
        ++count;
    }
    mxFree(text);
    call.put(0, count);
}

}  // namespace daqgate

#endif
