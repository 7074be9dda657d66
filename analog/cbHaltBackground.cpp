// cbHaltBackground - analog gateway: a background operation stopped
// (halt.h).
#include "halt.h"

// The usage text, with its full stop, stays as scripts know it.
const daqgate::Gateway daqgate::halt_background{"cbHaltBackground", 2,
                                                "*** Usage: cbHaltBackground(boardNum, functionType)."};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_halt_background(daqgate::halt_background, nlhs, plhs, nrhs, prhs);
}
