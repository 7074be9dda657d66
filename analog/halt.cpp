// halt.cpp - stop a background operation.
#include "analog.h"

namespace daqgate {

void run_halt_background(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    static const Gateway gateway{"cbHaltBackground", 2,
                                 "*** Usage: cbHaltBackground(boardNum, functionType)."};
    const Call call(gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const int32_t function = call.integer(1, "functionType");
    call.put(0, cbStopIOBackground(board, function));
}

}  // namespace daqgate
