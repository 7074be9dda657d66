// peer.h - both ends of the handshake text link, for simboard: a device on
// the far side of the wiring that speaks the link's four phases.
#ifndef DAQGATE_TOOLS_PEER_H
#define DAQGATE_TOOLS_PEER_H

#include <string>

#include "rig.h"

namespace daqgate::tools {

struct PeerPorts {
    int data;
    int sender;    // the writing end's request
    int receiver;  // the reading end's acknowledge
};

// The outcome of a transfer: kNoError, a driver status, or one of these.
enum class PeerResult { done, timed_out, driver_failed };

struct PeerOutcome {
    PeerResult result = PeerResult::done;
    sim::Status status = sim::kNoError;  // the failing driver status
    std::string where;         // which phase failed
};

// Sends every byte of text, one handshake each.  With timeout > 0 no wait
// lasts longer than timeout seconds.
PeerOutcome peer_send(sim::Rig &rig, int board, PeerPorts ports, const std::string &text, double timeout);

// Receives one line: waits up to timeout seconds (none if timeout <= 0) for
// each request, and gives the writer one second to withdraw it when timeout
// > 0.  The line, without its line feed, goes to line.
PeerOutcome peer_receive(sim::Rig &rig, int board, PeerPorts ports, double timeout, std::string *line);

}  // namespace daqgate::tools

#endif
