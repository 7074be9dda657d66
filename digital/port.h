// port.h - the digital port gateways: one procedure, three members.  Each
// member stands in its gateway's own source, with the driver operation it
// calls, so that a gateway links only the operations it uses.
#ifndef DAQGATE_DIGITAL_PORT_H
#define DAQGATE_DIGITAL_PORT_H

#include "frame.h"

namespace daqgate {

// A port gateway calls one driver operation on (board, port) and, for the
// two that take one, a third integer.  The adapter hides the operation's
// own signature; word receives a port value where the operation reads one.
struct PortMember {
    Gateway gateway;
    const char *third;  // name of the third argument, nullptr for a read
    int (*operation)(int board, int port, int32_t third, unsigned short *word);
};

extern const PortMember read_port;
extern const PortMember write_port;
extern const PortMember set_port_direction;

inline void run_port_gateway(const PortMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
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

#endif
