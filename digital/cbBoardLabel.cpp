// cbBoardLabel - gateway over the driver operation of the same name.
#include "label.h"

const daqgate::LabelMember daqgate::board_label{
    {"cbBoardLabel", 1, "*** Usage: [boardName, errorCode] = cbBoardLabel(boardNum)"},
    "boardNum",
    CB_BOARDNAMELEN,
    true,
    [](int board, char *name) { return cbBoardLabel(board, name); }};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_label_gateway(daqgate::board_label, nlhs, plhs, nrhs, prhs);
}
