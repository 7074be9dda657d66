// cbFetchBackgroundData - analog gateway: the scans a running background
// scan stored since the previous fetch (background.h).
#include "background.h"

// The usage text, without its closing parenthesis, stays as scripts know it.
const daqgate::Gateway daqgate::fetch_background{
    "cbFetchBackgroundData", 7,
    "*** Usage: cbFetchBackgroundData(boardNum, previousCount, previousIndex, "
    "bufferSize, [lowChan,highChan], vrange, memHandle"};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_fetch_background(daqgate::fetch_background, nlhs, plhs, nrhs, prhs);
}
