// cbReadAnalogBackgroundScan - analog gateway: a scan started in the
// background, filling the buffer as a ring (scan.h).
#include "scan.h"

const daqgate::ScanMember daqgate::background_scan{
    {"cbReadAnalogBackgroundScan", 6,
     "*** Usage: cbReadAnalogBackgroundScan(boardNum, [lowChan, highChan], "
     "bufferSize, sampleRate, vrange, memHandle)"},
    "bufferSize",
    CB_BACKGROUND,
    nullptr};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_scan(daqgate::background_scan, nlhs, plhs, nrhs, prhs);
}
