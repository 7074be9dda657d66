// label.cpp - board name and error text: the procedure.  Each member
// stands in its gateway's own source, with the driver operation it calls.
#include "label.h"

namespace daqgate {

namespace {
constexpr int largest_buffer = CB_ERRSTRLEN;
static_assert(CB_BOARDNAMELEN <= largest_buffer, "the label buffer holds every text");
}  // namespace

void run_label_gateway(const LabelMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(member.gateway, nlhs, plhs, nrhs, prhs);
    const int32_t value = call.integer(0, member.argument);

    // Starts as an empty text, and the last byte of the member's buffer is
    // forced to a terminator after the call, so that a driver that fails
    // without writing, or writes an unterminated text, is never read past.
    char buffer[largest_buffer] = {};
    const int status = member.operation(value, buffer);
    buffer[member.buffer_size - 1] = '\0';

    call.put_text(0, buffer);
    if (member.returns_status)
        call.put(1, status);
}

}  // namespace daqgate
