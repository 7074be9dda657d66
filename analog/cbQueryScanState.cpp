// cbQueryScanState - analog gateway; its procedure stands in the family's source.
#include "analog.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_query_scan_state(nlhs, plhs, nrhs, prhs);
}
