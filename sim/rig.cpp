// rig.cpp - the device logic of the simulated boards.
#include "rig.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

namespace daqgate::sim {

void board_name(int board, char *name, std::size_t size)
{
    std::snprintf(name, size, "%s", kBoardTable[board].name);
}

namespace {

bool valid_header(const RigLayout *layout)
{
    return std::memcmp(layout->magic, kMagic, sizeof kMagic) == 0 && layout->version == kVersion &&
           layout->size == sizeof(RigLayout);
}

uint64_t fresh_nonce()
{
    std::random_device entropy;
    const uint64_t high = entropy(), low = entropy();
    return (high << 32 | low) ^
           static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

Status Rig::open(const std::string &path, bool recreate)
{
    layout_ = nullptr;
    file_ = RigFile{};
    RigFile file;
    if (const Status status = file.open(path, true); status != kNoError)
        return status;

    // One process at a time creates or checks the file: two processes that
    // start on a missing rig together end up with the same one.
    if (const Status status = prepare(file, recreate); status != kNoError)
        return status;
    layout_ = static_cast<RigLayout *>(file.mapping());
    file_ = std::move(file);
    nonce_ = layout_->nonce;
    return kNoError;
}

Status Rig::prepare(RigFile &file, bool recreate)
{
    const RigLock lock(file);
    if (lock.status() != kNoError)
        return lock.status();
    const int64_t size = file.size();
    if (size < 0)
        return kRigOpen;
    if (size != 0 && size != static_cast<int64_t>(sizeof(RigLayout)) && !recreate)
        return kRigLayout;  // truncated, or made by another version
    if (size != static_cast<int64_t>(sizeof(RigLayout)) && !file.resize(sizeof(RigLayout)))
        return kRigOpen;
    auto *layout = static_cast<RigLayout *>(file.map(sizeof(RigLayout)));
    if (layout == nullptr)
        return kRigOpen;
    static constexpr char kBlank[sizeof kMagic] = {};
    // A blank file is a new one, or one whose creator died before
    // initialising it; anything else must be a rig of this layout.
    const bool blank = std::memcmp(layout->magic, kBlank, sizeof kBlank) == 0;
    if (!blank && !recreate && !valid_header(layout))
        return kRigLayout;
    if (blank || recreate)
        initialise(layout);
    return kNoError;
}

bool Rig::look()
{
    if (!file_.look())
        return false;
    if (!valid_header(layout_)) {
        file_.mark_lost();
        return false;
    }
    // Made anew in place between two looks: the same as a reset.
    nonce_ = layout_->nonce;
    return true;
}

bool Rig::take_back()
{
    const uint64_t lost = nonce_;
    if (!file_.take_back([lost](const void *bytes) {
            const auto *layout = static_cast<const RigLayout *>(bytes);
            return valid_header(layout) && layout->nonce != lost;
        }))
        return false;
    nonce_ = layout_->nonce;
    return true;
}

void Rig::initialise(RigLayout *layout)
{
    // The header goes in last, so that a file whose creator died half way
    // is recognised as blank or foreign, never as a valid rig.
    // The recordings' volts are left as the file holds them: zero pages in
    // a new file, and only ever played as volts whatever they hold.
    const auto head = static_cast<std::size_t>(reinterpret_cast<char *>(&layout->recordings) -
                                               reinterpret_cast<char *>(layout));
    std::memset(static_cast<void *>(layout), 0, head);
    layout_ = layout;
    reset();
    layout->version = kVersion;
    layout->size = sizeof(RigLayout);
    layout->nonce = fresh_nonce();
    std::atomic_thread_fence(std::memory_order_release);
    std::memcpy(layout->magic, kMagic, sizeof kMagic);
}

void Rig::reset()
{
    for (int index = 0; index < kPortCount; ++index) {
        const PortId id = PortId::at(index);
        PortState &port = state(id);
        latch(id).store(0, std::memory_order_relaxed);
        changes(id).store(0, std::memory_order_relaxed);
        port.direction.store(kInput, std::memory_order_relaxed);
        // A board faces its partner port for port, as far as both have
        // ports; the layout's slots past a board's own ports stay unwired.
        const PortId facing{kBoardTable[id.board].partner, id.port};
        const bool wired = valid(id) && facing.board >= 0 && valid(facing);
        port.peer.store(static_cast<int16_t>(wired ? facing.index() : -1), std::memory_order_relaxed);
    }
    for (int board = 0; board < kBoards; ++board) {
        BoardState &b = layout_->boards[board];
        for (auto &volts : b.output_volts)
            volts.store(0.0, std::memory_order_relaxed);
        for (int channel = 0; channel < kBoardTable[board].inputs; ++channel) {
            // A sequence left odd by a writer that died is made even.
            b.signals[channel].sequence.store(0, std::memory_order_relaxed);
            set_signal(board, channel, default_signal(channel));
        }
        b.queue.sequence.store(0, std::memory_order_relaxed);  // even, as for a signal
        b.queue.length.store(0, std::memory_order_relaxed);
        b.bench.store(0, std::memory_order_relaxed);
    }
    for (FaultState &fault : layout_->faults)
        fault.state.store(kFaultFree, std::memory_order_relaxed);
    for (RecordingState &recording : layout_->recordings) {
        recording.owner.store(-1, std::memory_order_relaxed);
        recording.count.store(0, std::memory_order_relaxed);
        recording.name[0].store('\0', std::memory_order_relaxed);
    }
    std::atomic_thread_fence(std::memory_order_seq_cst);
}

}  // namespace daqgate::sim
