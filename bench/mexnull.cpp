// mexnull - a benchmark's yardstick, not a gateway: takes any arguments,
// reads none of them and returns 0, so that a call of it with a gateway's
// arguments costs what the host alone spends on such a call.
#include "mex.h"

void mexFunction(int, mxArray *plhs[], int, const mxArray *[])
{
    plhs[0] = mxCreateDoubleScalar(0);
}
