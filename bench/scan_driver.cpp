// scan_driver - a benchmark's yardstick, not a gateway: the driver's own
// foreground scan, timed inside the call, so that what a scanning gateway
// adds (its conversion) can be told from the scan's pacing and its sleep.
//
//   [seconds, rate] = scan_driver(board, low, high, count, rate, range, handle)
//
// The arguments are taken as they are, unchecked: a benchmark's.
#include <chrono>

#include "cbw32.h"
#include "mex.h"

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    if (nrhs != 7)
        mexErrMsgTxt("scan_driver(board, low, high, count, rate, range, handle)");
    int args[7];
    for (int i = 0; i < 7; ++i)
        args[i] = static_cast<int>(mxGetScalar(prhs[i]));
    int rate = args[4];
    const auto start = std::chrono::steady_clock::now();
    const int status = cbReadAnalogScan(args[0], args[1], args[2], args[3], &rate, args[5],
                                        static_cast<DaqHandle>(args[6]), CB_FOREGROUND);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0)
        mexErrMsgTxt("scan_driver: the driver refused the scan");
    plhs[0] = mxCreateDoubleScalar(seconds);
    plhs[1] = mxCreateDoubleScalar(rate);
}
