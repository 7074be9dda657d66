// port.h - the digital port gateways: one procedure, three members.
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

void run_port_gateway(const PortMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

}  // namespace daqgate

#endif
