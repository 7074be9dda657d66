// cbSetPortDirection - gateway over the driver operation of the same name.
#include "port.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_port_gateway(daqgate::set_port_direction, nlhs, plhs, nrhs, prhs);
}
