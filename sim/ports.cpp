// ports.cpp - the digital ports of the simulated boards and their wiring.
#include "rig.h"

namespace daqgate::sim {

namespace {

Status check_port(int board, int port)
{
    if (!Rig::valid_board(board))
        return kBadBoard;
    if (!Rig::valid(PortId{board, port}))
        return kBadPort;
    return kNoError;
}

bool valid_direction(int direction)
{
    return direction == kOutput || direction == kInput;
}

}  // namespace

Status Rig::source_of(PortId id, PortId *source, bool *has_source) const
{
    const int direction = state(id).direction.load(std::memory_order_relaxed);
    if (!valid_direction(direction))
        return kRigCorrupt;
    if (direction == kOutput) {
        *source = id;
        *has_source = true;
        return kNoError;
    }
    // An input shows what the output at the other end of its wire drives.
    const int peer = state(id).peer.load(std::memory_order_relaxed);
    if (peer < -1 || peer >= kPortCount || (peer >= 0 && !valid(PortId::at(peer))))
        return kRigCorrupt;
    *has_source = peer >= 0 && state(peer).direction.load(std::memory_order_relaxed) == kOutput;
    if (*has_source)
        *source = PortId::at(peer);
    return kNoError;
}

Status Rig::driven(PortId id, uint16_t *value) const
{
    PortId source{};
    bool has_source = false;
    if (const Status status = source_of(id, &source, &has_source); status != kNoError)
        return status;
    *value = has_source ? latch(source).load(std::memory_order_acquire) : 0;
    return kNoError;
}

Status Rig::read_port(int board, int port, uint16_t *value) const
{
    if (const Status status = check_port(board, port); status != kNoError)
        return status;
    return driven(PortId{board, port}, value);
}

Status Rig::shown(PortId id, uint16_t *value, int *source) const
{
    if (const Status status = check_port(id.board, id.port); status != kNoError)
        return status;
    PortId from{};
    bool has_source = false;
    if (const Status status = source_of(id, &from, &has_source); status != kNoError)
        return status;
    *source = has_source ? from.index() : -1;
    *value = has_source ? latch(from).load(std::memory_order_acquire) : 0;
    return kNoError;
}

Status Rig::write_port(int board, int port, uint16_t value)
{
    if (const Status status = check_port(board, port); status != kNoError)
        return status;
    const PortId id{board, port};
    const int direction = state(id).direction.load(std::memory_order_relaxed);
    if (!valid_direction(direction))
        return kRigCorrupt;
    if (direction != kOutput)
        return kNotOutput;
    // Release: whatever this process wrote to other ports before is seen by
    // a reader that sees this value (the link's data port before its flag).
    // A port has one writer: its count of changes needs no read-modify-write.
    std::atomic<uint16_t> &own = latch(id);
    const uint16_t old = own.load(std::memory_order_relaxed);
    own.store(value, std::memory_order_release);
    if (old != value) {
        std::atomic<uint32_t> &count = changes(id);
        count.store(count.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }
    return kNoError;
}

Status Rig::set_direction(int board, int port, int direction)
{
    if (const Status status = check_port(board, port); status != kNoError)
        return status;
    if (!valid_direction(direction))
        return kBadDirection;
    state(PortId{board, port}).direction.store(static_cast<uint8_t>(direction), std::memory_order_release);
    return kNoError;
}

Status Rig::wire(PortId a, PortId b)
{
    if (!valid_board(a.board) || !valid_board(b.board))
        return kBadBoard;
    if (!valid(a) || !valid(b) || a.index() == b.index())
        return kBadPort;
    const RigLock lock(file_);
    if (lock.status() != kNoError)
        return lock.status();
    if (state(a).peer.load() != -1 || state(b).peer.load() != -1)
        return kAlreadyWired;
    state(a).peer.store(static_cast<int16_t>(b.index()));
    state(b).peer.store(static_cast<int16_t>(a.index()));
    return kNoError;
}

Status Rig::unwire(PortId a, PortId b)
{
    if (!valid_board(a.board) || !valid_board(b.board))
        return kBadBoard;
    if (!valid(a) || !valid(b))
        return kBadPort;
    const RigLock lock(file_);
    if (lock.status() != kNoError)
        return lock.status();
    if (state(a).peer.load() != b.index() || state(b).peer.load() != a.index())
        return kNotWired;
    state(a).peer.store(-1);
    state(b).peer.store(-1);
    return kNoError;
}

Status Rig::peer_of(PortId a, PortId *b) const
{
    const int peer = state(a).peer.load();
    if (peer == -1) {
        *b = PortId{-1, -1};
        return kNoError;
    }
    if (peer < 0 || peer >= kPortCount || !valid(PortId::at(peer))) {
        *b = PortId{-1, peer};
        return kRigCorrupt;
    }
    *b = PortId::at(peer);
    return kNoError;
}

int Rig::direction_of(PortId a) const
{
    return state(a).direction.load();
}

}  // namespace daqgate::sim
