// cbReadAnalogScan - analog gateway: a scan in the foreground, its samples
// returned in volts (scan.h).
#include "scan.h"

// The usage text, without its closing parenthesis, stays as scripts know it.
const daqgate::ScanMember daqgate::foreground_scan{
    {"cbReadAnalogScan", 6,
     "*** Usage: cbReadAnalogScan(boardNum, [lowChan, highChan], sampleCount, sampleRate, vrange, memHandle"},
    "sampleCount",
    CB_FOREGROUND,
    daqgate::convert_samples};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_scan(daqgate::foreground_scan, nlhs, plhs, nrhs, prhs);
}
