// peer.cpp - the link's two ends written from its line protocol, on the
// rig directly: an independent counterpart to the gateways.
#include "peer.h"

#include <chrono>

namespace daqgate::tools {

using namespace sim;
namespace {

using Clock = std::chrono::steady_clock;

struct Line {
    Rig &rig;
    int board;
    PeerOutcome *outcome;

    // Reads port until accept(value); false on a driver failure or when
    // limit > 0 seconds have passed.
    template <typename Accept>
    bool await(int port, double limit, Accept accept, const char *where)
    {
        const Clock::time_point start = Clock::now();
        for (;;) {
            uint16_t value = 0;
            if (const Status status = rig.read_port(board, port, &value); status != kNoError)
                return fail(PeerResult::driver_failed, status, where);
            if (rig.lost())
                return fail(PeerResult::driver_failed, kRigLost, where);
            if (accept(value))
                return true;
            if (limit > 0 && std::chrono::duration<double>(Clock::now() - start).count() > limit)
                return fail(PeerResult::timed_out, kNoError, where);
        }
    }

    bool put(int port, uint16_t value, const char *where)
    {
        if (const Status status = rig.write_port(board, port, value); status != kNoError)
            return fail(PeerResult::driver_failed, status, where);
        return true;
    }

    bool fail(PeerResult result, Status status, const char *where)
    {
        *outcome = PeerOutcome{result, status, where};
        return false;
    }
};

}  // namespace

PeerOutcome peer_send(Rig &rig, int board, PeerPorts ports, const std::string &text, double timeout)
{
    PeerOutcome outcome;
    Line line{rig, board, &outcome};
    for (const char byte : text) {
        // idle: the reader has let go of its acknowledge
        if (!line.await(
                ports.receiver, timeout, [](uint16_t r) { return r == 0; },
                "waiting for the receiver bit to go down"))
            break;
        // request: the byte, sign-extended as the link carries it, then the flag
        const auto word = static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(byte)));
        if (!line.put(ports.data, word, "writing the data port") ||
            !line.put(ports.sender, 1, "raising the sender bit"))
            break;
        // take, then release
        if (!line.await(
                ports.receiver, timeout, [](uint16_t r) { return r != 0; },
                "waiting for the receiver bit to go up") ||
            !line.put(ports.sender, 0, "lowering the sender bit"))
            break;
    }
    return outcome;
}

PeerOutcome peer_receive(Rig &rig, int board, PeerPorts ports, double timeout, std::string *text)
{
    PeerOutcome outcome;
    Line line{rig, board, &outcome};
    text->clear();
    for (;;) {
        uint16_t data = 0;
        if (!line.await(
                ports.sender, timeout, [](uint16_t s) { return s != 0; },
                "waiting for the sender bit to go up"))
            break;
        if (const Status status = rig.read_port(board, ports.data, &data); status != kNoError) {
            line.fail(PeerResult::driver_failed, status, "reading the data port");
            break;
        }
        if (!line.put(ports.receiver, 1, "raising the receiver bit") ||
            !line.await(
                ports.sender, timeout > 0 ? 1.0 : 0.0, [](uint16_t s) { return (s & 1) == 0; },
                "waiting for the sender bit to go down") ||
            !line.put(ports.receiver, 0, "lowering the receiver bit"))
            break;
        const char byte = static_cast<char>(data & 0xFF);
        if (byte == '\n')
            break;
        text->push_back(byte);
    }
    return outcome;
}

}  // namespace daqgate::tools
