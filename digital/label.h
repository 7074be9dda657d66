// label.h - the board utilities that turn driver information into text:
// one procedure, two members.
#ifndef DAQGATE_DIGITAL_LABEL_H
#define DAQGATE_DIGITAL_LABEL_H

#include "frame.h"

namespace daqgate {

// A text gateway hands one integer and a buffer of buffer_size bytes to one
// driver operation and returns the text the driver wrote, and, where
// returns_status is set, the operation's status after it.
struct LabelMember {
    Gateway gateway;
    const char *argument;
    int buffer_size;
    bool returns_status;
    int (*operation)(int value, char *buffer);
};

extern const LabelMember board_label;
extern const LabelMember error_text;

static_assert(CB_BOARDNAMELEN <= CB_ERRSTRLEN, "the label buffer holds every text");

inline void run_label_gateway(const LabelMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(member.gateway, nlhs, plhs, nrhs, prhs);
    const int32_t value = call.integer(0, member.argument);

    // Starts as an empty text, and the last byte of the member's buffer is
    // forced to a terminator after the call, so that a driver that fails
    // without writing, or writes an unterminated text, is never read past.
    char buffer[CB_ERRSTRLEN] = {};
    const int status = member.operation(value, buffer);
    buffer[member.buffer_size - 1] = '\0';

    call.put_text(0, buffer);
    if (member.returns_status)
        call.put(1, status);
}

}  // namespace daqgate

#endif
