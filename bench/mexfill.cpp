// mexfill - a benchmark's yardstick, not a gateway: mexfill(ROWS, COLS,
// ...) makes a ROWS-by-COLS double matrix and fills it, element by
// element, from a table of volts as a gateway's conversion fills its
// result; further arguments are taken and ignored, and results past the
// first are scalars, so that a call can be shaped as a gateway's (its
// arguments, its results).  What the host spends on such a call, and no
// more, is what a fetch or a scan of as many samples cannot go below.
#include "mex.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    if (nrhs < 2)
        mexErrMsgTxt("mexfill(rows, cols, ...)");
    const size_t rows = static_cast<size_t>(mxGetScalar(prhs[0]));
    const size_t cols = static_cast<size_t>(mxGetScalar(prhs[1]));
    static double volts[4096];
    for (int i = 0; i < 4096; ++i)
        volts[i] = -10 + i * (20.0 / 4096);
    plhs[0] = mxCreateDoubleMatrix(rows, cols, mxREAL);
    double *data = mxGetPr(plhs[0]);
    for (size_t i = 0; i < rows * cols; ++i)
        data[i] = volts[(i * 7) & 4095];
    for (int slot = 1; slot < nlhs; ++slot)
        plhs[slot] = mxCreateDoubleScalar(0);
}
