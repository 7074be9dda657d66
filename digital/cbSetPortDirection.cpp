// cbSetPortDirection - gateway over the driver operation of the same name.
#include "port.h"

const daqgate::PortMember daqgate::set_port_direction{
    {"cbSetPortDirection", 3, "*** Usage: [errorCode] = cbSetPortDirection(boardNum, portNum, direction)"},
    "direction",
    [](int board, int port, int32_t direction, unsigned short *) {
        return cbSetPortDirection(board, port, direction);
    }};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_port_gateway(daqgate::set_port_direction, nlhs, plhs, nrhs, prhs);
}
