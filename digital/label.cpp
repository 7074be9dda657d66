// label.cpp - board name and error text.
#include "label.h"

namespace daqgate {

namespace {
constexpr int largest_buffer = CB_ERRSTRLEN;
static_assert(CB_BOARDNAMELEN <= largest_buffer, "the label buffer holds every text");
}  // namespace

const LabelMember board_label{
    {"cbBoardLabel", 1, "*** Usage: [boardName, errorCode] = cbBoardLabel(boardNum)"},
    "boardNum",
    CB_BOARDNAMELEN,
    true,
    [](int board, char *name) { return cbBoardLabel(board, name); }};

const LabelMember error_text{{"cbErrorText", 1, "*** Usage: [errorString] = cbErrorText(errorCode)"},
                             "errorCode",
                             CB_ERRSTRLEN,
                             false,
                             [](int code, char *text) { return cbErrorText(code, text); }};

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
