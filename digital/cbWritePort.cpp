// cbWritePort - gateway over the driver operation of the same name.
#include "port.h"

const daqgate::PortMember daqgate::write_port{
    {"cbWritePort", 3, "*** Usage: [errorCode] = cbWritePort(boardNum, portNum, value)"},
    "value",
    // The driver takes a 16-bit word: the low 16 bits of the value go out.
    [](int board, int port, int32_t value, unsigned short *) {
        return cbWritePort(board, port, static_cast<unsigned short>(value));
    }};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_port_gateway(daqgate::write_port, nlhs, plhs, nrhs, prhs);
}
