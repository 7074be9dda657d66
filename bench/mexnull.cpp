// mexnull - a benchmark's yardstick, not a gateway.  It reads none of its
// arguments and returns 0, so that a call costs what the host alone spends
// on a call with a gateway's arguments and one result.
#include "mex.h"

void mexFunction(int, mxArray *plhs[], int, const mxArray *[])
{
    plhs[0] = mxCreateDoubleScalar(0);
}
