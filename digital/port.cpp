// port.cpp - read, write and configure a digital port.
#include "port.h"

namespace daqgate {

const PortMember read_port{
    {"cbReadPort", 2, "*** Usage: [errorCode] = cbReadPort(boardNum, portNum)"},
    nullptr,
    [](int board, int port, int32_t, unsigned short *word) { return cbReadPort(board, port, word); }};

const PortMember write_port{
    {"cbWritePort", 3, "*** Usage: [errorCode] = cbWritePort(boardNum, portNum, value)"},
    "value",
    // The driver takes a 16-bit word: the low 16 bits of the value go out.
    [](int board, int port, int32_t value, unsigned short *) {
        return cbWritePort(board, port, static_cast<unsigned short>(value));
    }};

const PortMember set_port_direction{
    {"cbSetPortDirection", 3, "*** Usage: [errorCode] = cbSetPortDirection(boardNum, portNum, direction)"},
    "direction",
    [](int board, int port, int32_t direction, unsigned short *) {
        return cbSetPortDirection(board, port, direction);
    }};

void run_port_gateway(const PortMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(member.gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const int32_t port = call.integer(1, "portNum");
    const int32_t third = member.third ? call.integer(2, member.third) : 0;

    // A failed read leaves the word alone; it then reads 0.
    unsigned short word = 0;
    const int status = member.operation(board, port, third, &word);

    if (member.third) {
        call.put(0, status);
    } else {
        call.put(0, word);  // unsigned: all lines high is 65535, never -1
        call.put(1, status);
    }
}

}  // namespace daqgate
