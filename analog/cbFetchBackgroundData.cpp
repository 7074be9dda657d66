// cbFetchBackgroundData - analog gateway; its procedure stands in the family's source.
#include "analog.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_fetch_background(nlhs, plhs, nrhs, prhs);
}
