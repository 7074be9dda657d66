// convert_driver - a benchmark's yardstick, not a gateway: the driver's
// conversion of each of the given raw counts once, timed inside the call.
// Given the distinct counts of a call's samples, it is what a converting
// gateway must ask of the driver for them, with nothing of its own.
//
//   seconds = convert_driver(board, range, counts)
//
// The arguments are taken as they are, unchecked: a benchmark's.
#include <chrono>
#include <cstddef>

#include "cbw32.h"
#include "mex.h"

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    if (nrhs != 3 || !mxIsDouble(prhs[2]))
        mexErrMsgTxt("convert_driver(board, range, counts)");
    const int board = static_cast<int>(mxGetScalar(prhs[0]));
    const int range = static_cast<int>(mxGetScalar(prhs[1]));
    const double *counts = mxGetPr(prhs[2]);
    const std::size_t n = static_cast<std::size_t>(mxGetM(prhs[2])) * mxGetN(prhs[2]);
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < n; ++i) {
        float volts = 0;
        cbToEngUnits(board, range, static_cast<unsigned short>(counts[i]), &volts);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    plhs[0] = mxCreateDoubleScalar(seconds);
}
