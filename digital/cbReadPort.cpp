// cbReadPort - gateway over the driver operation of the same name.
#include "port.h"

const daqgate::PortMember daqgate::read_port{
    {"cbReadPort", 2, "*** Usage: [errorCode] = cbReadPort(boardNum, portNum)"},
    nullptr,
    [](int board, int port, int32_t, unsigned short *word) { return cbReadPort(board, port, word); }};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_port_gateway(daqgate::read_port, nlhs, plhs, nrhs, prhs);
}
