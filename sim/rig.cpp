// rig.cpp - the device logic of the simulated boards.
#include "rig.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <cmath>

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
    {kRigLayout, "The simulated rig file has another layout or version: run 'simboard reset' to renew it."},
    {kAlreadyWired, "Digital port is wired already: unwire it first."},
    {kNotWired, "The two digital ports are not wired to each other."},
    {kBadChannel, "Invalid analog channel: inputs are 0 to 15, outputs 0 and 1."},
    {kBadRange,
     "Invalid range code: use 0, 1, 2, 3 (bipolar 10, 5, 2.5, 1 V) or 100, 101 (unipolar 10, 5 V)."},
    {kBadVoltage, "The voltage is not a number."},
    {kBadCount, "Invalid sample count: negative, too large, or past the end of the buffer."},
    {kBadRate, "Invalid sample rate: it must be at least 1 scan per second."},
    {kBadHandle, "The buffer handle names no sample buffer of this process."},
    {kBadOptions, "Invalid options word: use 0 (foreground) or 3 (continuous background)."},
    {kBadFunction, "Invalid function type: 1 is the analog input background scan."},
    {kBusy, "A background scan is running on this board already: stop it first."},
    {kRigLost,
     "The simulated rig file was lost (shrunk, removed or replaced under this process): run 'simboard reset' "
     "to renew it."},
    {kRigCorrupt,
     "The simulated rig file holds invalid data (a process wrote over it, or died writing): run 'simboard "
     "reset' to renew it."},
    {kRigLocked, "The simulated rig file stayed locked by another process for 5 seconds."},
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

bool Rig::check()
{
    if (!file_.check())
        return false;
    if (!valid_header(layout_)) {
        file_.mark_lost();
        return false;
    }
    // Made anew in place between two checks: the same as a reset.
    nonce_ = layout_->nonce;
    return true;
}

bool Rig::renew()
{
    const uint64_t lost = nonce_;
    if (!file_.renew([lost](const void *bytes) {
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
    std::memset(static_cast<void *>(layout), 0, sizeof(RigLayout));
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
        PortState &port = state(index);
        port.latch.store(0, std::memory_order_relaxed);
        port.direction.store(kInput, std::memory_order_relaxed);
        const int board = index / kPorts;
        // Board 0 faces board 1 and board 2 faces board 3, port for port.
        const int facing = board ^ 1;
        port.peer.store(static_cast<int16_t>(facing * kPorts + index % kPorts), std::memory_order_relaxed);
    }
    for (int board = 0; board < kBoards; ++board) {
        BoardState &b = layout_->boards[board];
        for (auto &volts : b.output_volts)
            volts.store(0.0, std::memory_order_relaxed);
        for (int channel = 0; channel < kAnalogInputs; ++channel) {
            // A sequence left odd by a writer that died is made even.
            b.signals[channel].sequence.store(0, std::memory_order_relaxed);
            set_signal(board, channel, default_signal(channel));
        }
        b.queue.length.store(0, std::memory_order_relaxed);
    }
    std::atomic_thread_fence(std::memory_order_seq_cst);
}

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

Status Rig::driven(PortId id, uint16_t *value) const
{
    const PortState &self = state(id);
    const int direction = self.direction.load(std::memory_order_relaxed);
    if (!valid_direction(direction))
        return kRigCorrupt;
    if (direction == kOutput) {
        *value = self.latch.load(std::memory_order_acquire);
        return kNoError;
    }
    // An input shows what the output at the other end of its wire drives.
    const int peer = self.peer.load(std::memory_order_relaxed);
    if (peer < -1 || peer >= kPortCount)
        return kRigCorrupt;
    uint16_t seen = 0;
    if (peer >= 0) {
        const PortState &other = state(peer);
        if (other.direction.load(std::memory_order_relaxed) == kOutput)
            seen = other.latch.load(std::memory_order_acquire);
    }
    *value = seen;
    return kNoError;
}

Status Rig::read_port(int board, int port, uint16_t *value) const
{
    if (const Status status = check_port(board, port); status != kNoError)
        return status;
    return driven(PortId{board, port}, value);
}

Status Rig::write_port(int board, int port, uint16_t value)
{
    if (const Status status = check_port(board, port); status != kNoError)
        return status;
    PortState &self = state(PortId{board, port});
    const int direction = self.direction.load(std::memory_order_relaxed);
    if (!valid_direction(direction))
        return kRigCorrupt;
    if (direction != kOutput)
        return kNotOutput;
    // Release: whatever this process wrote to other ports before is seen by
    // a reader that sees this value (the link's data port before its flag).
    self.latch.store(value, std::memory_order_release);
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
    if (peer < 0 || peer >= kPortCount) {
        *b = PortId{-1, peer};
        return kRigCorrupt;
    }
    *b = PortId{peer / kPorts, peer % kPorts};
    return kNoError;
}

int Rig::direction_of(PortId a) const
{
    return state(a).direction.load();
}

Status Rig::read_analog(int board, int channel, int range, uint16_t *counts) const
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid_input(channel))
        return kBadChannel;
    Range span{};
    if (!find_range(range, &span))
        return kBadRange;
    Signal input;
    if (const Status status = signal(board, channel, &input); status != kNoError)
        return status;
    double outputs[kAnalogOutputs] = {};
    const SignalKindInfo *info = signal_kind_info(input.kind);
    if (info->follows_output >= 0)
        if (const Status status = output_volts(board, info->follows_output, &outputs[info->follows_output]);
            status != kNoError)
            return status;
    // A point read is a scan of one sample, now: the counter's is 0.
    const ScanSource one(&input, outputs, span, 1, 1.0, monotonic_seconds(),
                         static_cast<uint64_t>(board * kAnalogInputs + channel));
    one.fill(counts, 0, 1);
    return kNoError;
}

Status Rig::begin_scan(int board, int low, int high, int range, int requested_rate, Pace *pace,
                       std::unique_ptr<ScanSource> *source) const
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid_input(low) || !valid_input(high) || high < low)
        return kBadChannel;
    Range span{};
    if (!find_range(range, &span))
        return kBadRange;
    const int channels = high - low + 1;
    if (!settle_rate(requested_rate, channels, pace))
        return kBadRate;
    Signal signals[kAnalogInputs];
    for (int c = 0; c < channels; ++c)
        if (const Status status = signal(board, low + c, &signals[c]); status != kNoError)
            return status;
    double outputs[kAnalogOutputs] = {};
    for (int output = 0; output < kAnalogOutputs; ++output)
        if (const Status status = output_volts(board, output, &outputs[output]); status != kNoError)
            return status;
    *source =
        std::make_unique<ScanSource>(signals, outputs, span, channels, pace->aggregate / channels,
                                     monotonic_seconds(), static_cast<uint64_t>(board * kAnalogInputs + low));
    return kNoError;
}

Status Rig::write_analog(int board, int channel, int range, uint16_t counts)
{
    if (!valid_board(board))
        return kBadBoard;
    if (channel < 0 || channel >= kAnalogOutputs)
        return kBadChannel;
    Range span{};
    if (!find_range(range, &span))
        return kBadRange;
    layout_->boards[board].output_volts[channel].store(counts_to_volts(span, counts),
                                                       std::memory_order_release);
    return kNoError;
}

Status Rig::output_volts(int board, int output, double *volts) const
{
    // Only the volts of a count are ever stored: anything else is a scribble.
    const double v = layout_->boards[board].output_volts[output].load(std::memory_order_acquire);
    if (!std::isfinite(v))
        return kRigCorrupt;
    *volts = v;
    return kNoError;
}

Status Rig::set_gain_queue(int board, const short *channels, const short *ranges, int count)
{
    if (!valid_board(board))
        return kBadBoard;
    if (count < 0 || count > kQueueLength)
        return kBadCount;
    Range span{};
    for (int i = 0; i < count; ++i) {
        if (!valid_input(channels[i]))
            return kBadChannel;
        if (!find_range(ranges[i], &span))
            return kBadRange;
    }
    QueueState &queue = layout_->boards[board].queue;
    const RigLock lock(file_);
    if (lock.status() != kNoError)
        return lock.status();
    for (int i = 0; i < count; ++i) {
        queue.channel[i].store(channels[i], std::memory_order_relaxed);
        queue.range[i].store(ranges[i], std::memory_order_relaxed);
    }
    queue.length.store(count, std::memory_order_release);
    return kNoError;
}

Status Rig::gain_queue(int board, short *channels, short *ranges, int *count) const
{
    const QueueState &queue = layout_->boards[board].queue;
    const int length = queue.length.load(std::memory_order_acquire);
    *count = length;
    if (length < 0 || length > kQueueLength)
        return kRigCorrupt;
    for (int i = 0; i < length; ++i) {
        channels[i] = queue.channel[i].load(std::memory_order_relaxed);
        ranges[i] = queue.range[i].load(std::memory_order_relaxed);
    }
    return kNoError;
}

Status Rig::set_signal(int board, int channel, const Signal &input)
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid_input(channel))
        return kBadChannel;
    SignalState &state = layout_->boards[board].signals[channel];
    const uint32_t begun = state.sequence.load(std::memory_order_relaxed) | 1u;
    state.sequence.store(begun, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    state.kind.store(static_cast<uint32_t>(input.kind), std::memory_order_relaxed);
    state.amplitude.store(input.amplitude, std::memory_order_relaxed);
    state.frequency.store(input.frequency, std::memory_order_relaxed);
    state.offset.store(input.offset, std::memory_order_relaxed);
    state.sequence.store(begun + 1, std::memory_order_release);
    return kNoError;
}

Status Rig::signal(int board, int channel, Signal *out) const
{
    const SignalState &state = layout_->boards[board].signals[channel];
    // A writer takes a few stores: a reader that still finds the sequence
    // odd or moving after this many tries meets a writer that died half
    // way, or a scribble, and says so instead of spinning for ever.
    constexpr int kTries = 100000;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const uint32_t before = state.sequence.load(std::memory_order_acquire);
        const uint32_t kind = state.kind.load(std::memory_order_relaxed);
        Signal input;
        input.amplitude = state.amplitude.load(std::memory_order_relaxed);
        input.frequency = state.frequency.load(std::memory_order_relaxed);
        input.offset = state.offset.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1u) != 0 || state.sequence.load(std::memory_order_relaxed) != before)
            continue;
        if (signal_name(static_cast<SignalKind>(kind)) == nullptr || !std::isfinite(input.amplitude) ||
            !std::isfinite(input.frequency) || !std::isfinite(input.offset))
            return kRigCorrupt;
        input.kind = static_cast<SignalKind>(kind);
        *out = input;
        return kNoError;
    }
    return kRigCorrupt;
}

}  // namespace daqgate::sim
