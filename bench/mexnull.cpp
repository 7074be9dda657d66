// mexnull - a benchmark's yardstick, not a gateway.  With two or more
// arguments it reads none of them and returns 0, so that a call costs what
// the host alone spends on a call with a gateway's arguments.  With one
// argument n it returns a 1-by-n matrix of zeros: what the host alone
// spends on handing a script n results.
#include "mex.h"

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    if (nrhs == 1)
        plhs[0] = mxCreateDoubleMatrix(1, static_cast<mwSize>(mxGetScalar(prhs[0])), mxREAL);
    else
        plhs[0] = mxCreateDoubleScalar(0);
}
