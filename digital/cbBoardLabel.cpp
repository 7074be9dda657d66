// cbBoardLabel - gateway over the driver operation of the same name.
#include "label.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_label_gateway(daqgate::board_label, nlhs, plhs, nrhs, prhs);
}
