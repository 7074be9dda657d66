// mexsmoke - the board-free example gateway: doubles a real double scalar.
//
// It shares only the entry point and the host operations with the other
// gateways: it checks the number of requested outputs and the argument's
// class and size itself, and its messages carry no "*** " in front.
#include "mex.h"

namespace {

// The computational routine: output pointer first, input pointer second.
void timestwo(double y[], const double x[])
{
    y[0] = 2.0 * x[0];
}

}  // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    if (nrhs != 1)
        mexErrMsgTxt("One input required.");
    if (nlhs > 1)
        mexErrMsgTxt("Too many output arguments");

    const mxArray *arg = prhs[0];
    const size_t mrows = mxGetM(arg);
    const size_t ncols = mxGetN(arg);
    if (!mxIsDouble(arg) || mxIsComplex(arg) || mrows != 1 || ncols != 1)
        mexErrMsgTxt("Input must be a noncomplex scalar double.");

    // Created and stored even when no output was requested: the host always
    // gives room for one.
    plhs[0] = mxCreateDoubleMatrix(mrows, ncols, mxREAL);
    timestwo(mxGetPr(plhs[0]), mxGetPr(arg));
}
