// rig.cpp - the device logic of the simulated boards.
#include "rig.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <cstring>
#include <random>

namespace daqgate::sim {

void board_name(int board, char *name, std::size_t size)
{
    std::snprintf(name, size, "%s", kBoardTable[board].name);
}

namespace {

// Whether the first bytes of a file are a rig's magic, of any version: its
// letters are enough, for a rig cut short within them.
bool has_magic(const char *head, std::size_t got)
{
    constexpr std::size_t kLetters = sizeof kMagic - 1;
    return got >= kLetters && std::memcmp(head, kMagic, kLetters) == 0;
}

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

Status Rig::open(const std::string &path, bool recreate, RigAccess access)
{
    layout_ = nullptr;
    file_ = RigFile{};
    problem_.clear();
    RigFile file;
    Status status = file.open(path, true, access);
    if (status != kNoError) {
        problem_ = file.problem();
        return status;
    }
    // One process at a time creates or checks the file: two processes that
    // start on a missing rig together end up with the same one.
    if (status = prepare(file, recreate); status != kNoError)
        return status;
    layout_ = static_cast<RigLayout *>(file.mapping());
    file_ = std::move(file);
    nonce_ = layout_->nonce;
    return kNoError;
}

namespace {

std::string size_text(std::size_t bytes)
{
    constexpr std::size_t kKiB = 1024, kMiB = kKiB * kKiB;
    if (bytes >= kMiB)
        return std::to_string((bytes + kMiB - 1) / kMiB) + " MiB";
    return std::to_string((bytes + kKiB - 1) / kKiB) + " KiB";
}

}  // namespace

Status Rig::no_room(Status status, const char *what, std::size_t bytes, const RigFile &file)
{
    if (status == kRigNoRoom) {
        std::string folder = std::filesystem::u8path(file.path()).parent_path().u8string();
        if (folder.empty())
            folder = ".";
        problem_ = std::string("no room for ") + what + ": " + size_text(bytes) + " needed in " + folder +
                   " (" + file.reason() + ")";
    } else {
        problem_ =
            std::string("cannot make room for ") + what + " in '" + file.path() + "': " + file.reason();
    }
    return status;
}

Status Rig::prepare(RigFile &file, bool recreate)
{
    const RigLock lock(file);
    if (lock.status() != kNoError)
        return lock.status();
    const std::string quoted = "'" + file.path() + "'";
    const int64_t size = file.size();
    if (size < 0) {
        problem_ = "cannot tell the size of " + quoted;
        return kRigOpen;
    }
    // What the file holds, told by its size and its first bytes, read
    // before anything is mapped or written: nothing, a rig (of any
    // layout: its magic), a blank rig whose creator died before writing
    // it, or something else, which is never written over.
    char head[sizeof kMagic] = {};
    const std::size_t got = size == 0 ? 0 : file.read_head(head, sizeof head);
    const bool fits = size == static_cast<int64_t>(sizeof(RigLayout));
    const bool empty = size == 0;
    const bool rig = has_magic(head, got);
    const bool blank =
        fits && got == sizeof head && std::all_of(head, head + sizeof head, [](char c) { return c == 0; });
    if (!empty && !rig && !blank) {
        problem_ =
            quoted + " is not a rig (" + std::to_string(size) + " bytes): remove it yourself if you mean to";
        return kRigNotRig;
    }
    if (rig && !fits && !recreate) {
        problem_ = quoted + " holds a rig of another layout or version (" + std::to_string(size) +
                   " bytes): 'simboard reset' renews it";
        return kRigLayout;  // cut short, or made by another version
    }
    // A rig made here (new, blank or renewed) has its whole storage held
    // first: a full file system refuses it now, not with a fault later.
    const bool making = !rig || recreate;
    if (!fits) {
        if (const Status status = file.resize(sizeof(RigLayout)); status != kNoError)
            return no_room(status, "the rig", sizeof(RigLayout), file);
    }
    if (making) {
        if (const Status status = file.reserve(0, sizeof(RigLayout)); status != kNoError) {
            // Back to the size it had, holding no storage it did not
            // hold: an empty file is taken for a new rig next time.
            if (!fits)
                file.resize(static_cast<std::size_t>(size));
            return no_room(status, "the rig", sizeof(RigLayout), file);
        }
    }
    auto *layout = static_cast<RigLayout *>(file.map(sizeof(RigLayout)));
    if (layout == nullptr) {
        problem_ = "cannot map " + quoted;
        return kRigOpen;
    }
    if (!making && !valid_header(layout)) {
        problem_ = quoted + " holds a rig of another layout or version (" + std::to_string(size) +
                   " bytes): 'simboard reset' renews it";
        return kRigLayout;
    }
    if (making)
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
        b.trouble.store(0, std::memory_order_relaxed);
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
