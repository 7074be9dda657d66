// cbReadAnalogScan - analog gateway; its procedure stands in the family's source.
#include "analog.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_scan(daqgate::foreground_scan, nlhs, plhs, nrhs, prhs);
}
