// rig.cpp - the device logic of the simulated boards.
#include "rig.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace daqgate::sim {

namespace {

struct StatusEntry {
    Status code;
    const char *text;
};

constexpr StatusEntry kStatusTexts[] = {
    {kNoError, "No error has occurred."},
    {kBadBoard, "Invalid board number: the simulated rig has boards 0 to 3."},
    {kBadPort, "Invalid digital port code: the simulated boards have ports 0 to 31."},
    {kBadDirection, "Invalid port direction: use 1 for output or 2 for input."},
    {kNotOutput, "Digital port is configured as an input: set it to output before writing."},
    {kRigOpen, "The simulated rig file cannot be opened, created or mapped (see DAQGATE_RIG)."},
    {kRigLayout,
     "The simulated rig file has another layout or version: run 'simboard reset' to renew it."},
    {kAlreadyWired, "Digital port is wired already: unwire it first."},
    {kNotWired, "The two digital ports are not wired to each other."},
};

}  // namespace

void status_text(int code, char *text, std::size_t size)
{
    for (const StatusEntry &entry : kStatusTexts) {
        if (entry.code == code) {
            std::snprintf(text, size, "%s", entry.text);
            return;
        }
    }
    std::snprintf(text, size, "Unknown error code %d.", code);
}

void board_name(int board, char *name, std::size_t size)
{
    std::snprintf(name, size, "daqgate simulated board %d", board);
}

std::string default_rig_path()
{
    if (const char *path = std::getenv("DAQGATE_RIG"); path != nullptr && *path != '\0')
        return path;
    return "/dev/shm/daqgate-rig-" + std::to_string(getuid());
}

Status Rig::open(const std::string &path, bool recreate)
{
    path_ = path;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return kRigOpen;

    // One process at a time creates or checks the file: two processes that
    // start on a missing rig together end up with the same one.
    lock();
    Status status = kNoError;
    struct stat info {};
    if (fstat(fd_, &info) != 0) {
        status = kRigOpen;
    } else if (info.st_size != 0 && info.st_size != sizeof(RigLayout) && !recreate) {
        status = kRigLayout;  // truncated, or made by another version
    } else if (info.st_size != sizeof(RigLayout) && ftruncate(fd_, sizeof(RigLayout)) != 0) {
        status = kRigOpen;
    }
    if (status == kNoError) {
        void *map = mmap(nullptr, sizeof(RigLayout), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
        if (map == MAP_FAILED) {
            status = kRigOpen;
        } else {
            layout_ = static_cast<RigLayout *>(map);
            static constexpr char kBlank[sizeof kMagic] = {};
            // A blank file is a new one, or one whose creator died before
            // initialising it; anything else must be a rig of this layout.
            const bool blank = std::memcmp(layout_->magic, kBlank, sizeof kBlank) == 0;
            const bool ours = std::memcmp(layout_->magic, kMagic, sizeof kMagic) == 0 &&
                              layout_->version == kVersion && layout_->size == sizeof(RigLayout);
            if (blank || recreate)
                initialise();
            else if (!ours)
                status = kRigLayout;
        }
    }
    unlock();

    if (status != kNoError) {
        if (layout_ != nullptr)
            munmap(layout_, sizeof(RigLayout));
        layout_ = nullptr;
        ::close(fd_);
        fd_ = -1;
    }
    return status;
}

Rig::~Rig()
{
    if (layout_ != nullptr)
        munmap(layout_, sizeof(RigLayout));
    if (fd_ >= 0)
        ::close(fd_);
}

void Rig::lock() const
{
    while (flock(fd_, LOCK_EX) != 0) {
    }
}

void Rig::unlock() const
{
    flock(fd_, LOCK_UN);
}

void Rig::initialise()
{
    // The header goes in last, so that a file whose creator died half way
    // is recognised as blank or foreign, never as a valid rig.
    std::memset(static_cast<void *>(layout_), 0, sizeof(RigLayout));
    reset();
    layout_->version = kVersion;
    layout_->size = sizeof(RigLayout);
    std::atomic_thread_fence(std::memory_order_release);
    std::memcpy(layout_->magic, kMagic, sizeof kMagic);
}

void Rig::reset()
{
    for (int index = 0; index < kPortCount; ++index) {
        PortState &port = state(index);
        port.latch.store(0, std::memory_order_relaxed);
        port.direction.store(kInput, std::memory_order_relaxed);
        const int board = index / kPorts;
        // Board 0 faces board 1 and board 2 faces board 3, port for port.
        const int facing = board ^ 1;
        port.peer.store(static_cast<int16_t>(facing * kPorts + index % kPorts),
                        std::memory_order_relaxed);
    }
    std::atomic_thread_fence(std::memory_order_seq_cst);
}

Status Rig::read_port(int board, int port, uint16_t *value) const
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid(PortId{board, port}))
        return kBadPort;
    const PortState &self = state(PortId{board, port});
    if (self.direction.load(std::memory_order_relaxed) == kOutput) {
        *value = self.latch.load(std::memory_order_acquire);
        return kNoError;
    }
    // An input shows what the output at the other end of its wire drives.
    const int peer = self.peer.load(std::memory_order_relaxed);
    uint16_t driven = 0;
    if (peer >= 0) {
        const PortState &other = state(peer);
        if (other.direction.load(std::memory_order_relaxed) == kOutput)
            driven = other.latch.load(std::memory_order_acquire);
    }
    *value = driven;
    return kNoError;
}

Status Rig::write_port(int board, int port, uint16_t value)
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid(PortId{board, port}))
        return kBadPort;
    PortState &self = state(PortId{board, port});
    if (self.direction.load(std::memory_order_relaxed) != kOutput)
        return kNotOutput;
    // Release: whatever this process wrote to other ports before is seen by
    // a reader that sees this value (the link's data port before its flag).
    self.latch.store(value, std::memory_order_release);
    return kNoError;
}

Status Rig::set_direction(int board, int port, int direction)
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid(PortId{board, port}))
        return kBadPort;
    if (direction != kOutput && direction != kInput)
        return kBadDirection;
    state(PortId{board, port}).direction.store(static_cast<uint8_t>(direction),
                                               std::memory_order_release);
    return kNoError;
}

Status Rig::wire(PortId a, PortId b)
{
    if (!valid_board(a.board) || !valid_board(b.board))
        return kBadBoard;
    if (!valid(a) || !valid(b) || a.index() == b.index())
        return kBadPort;
    lock();
    Status status = kNoError;
    if (state(a).peer.load() >= 0 || state(b).peer.load() >= 0) {
        status = kAlreadyWired;
    } else {
        state(a).peer.store(static_cast<int16_t>(b.index()));
        state(b).peer.store(static_cast<int16_t>(a.index()));
    }
    unlock();
    return status;
}

Status Rig::unwire(PortId a, PortId b)
{
    if (!valid_board(a.board) || !valid_board(b.board))
        return kBadBoard;
    if (!valid(a) || !valid(b))
        return kBadPort;
    lock();
    Status status = kNoError;
    if (state(a).peer.load() != b.index() || state(b).peer.load() != a.index()) {
        status = kNotWired;
    } else {
        state(a).peer.store(-1);
        state(b).peer.store(-1);
    }
    unlock();
    return status;
}

PortId Rig::peer_of(PortId a) const
{
    const int peer = state(a).peer.load();
    if (peer < 0)
        return PortId{-1, -1};
    return PortId{peer / kPorts, peer % kPorts};
}

int Rig::direction_of(PortId a) const
{
    return state(a).direction.load();
}

}  // namespace daqgate::sim
