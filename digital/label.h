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

void run_label_gateway(const LabelMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

}  // namespace daqgate

#endif
