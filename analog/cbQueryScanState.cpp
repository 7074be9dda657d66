// cbQueryScanState - analog gateway: the state of a background operation
// (query_state.h).
#include "query_state.h"

const daqgate::Gateway daqgate::query_scan_state{"cbQueryScanState", 2,
                                                 "*** Usage: cbQueryScanState(boardNum, functionType)"};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_query_scan_state(daqgate::query_scan_state, nlhs, plhs, nrhs, prhs);
}
