// rig.cpp - the device logic of the simulated boards.
#include "rig.h"

#include <chrono>
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
    {kBadChannel, "Invalid analog channel: inputs are 0 to 15, outputs 0 and 1."},
    {kBadRange, "Invalid range code: use 0, 1, 2, 3 (bipolar 10, 5, 2.5, 1 V) or 100, 101 (unipolar 10, 5 V)."},
    {kBadVoltage, "The voltage is not a number."},
    {kBadCount, "Invalid sample count: negative, too large, or past the end of the buffer."},
    {kBadRate, "Invalid sample rate: it must be at least 1 scan per second."},
    {kBadHandle, "The buffer handle names no sample buffer of this process."},
    {kBadOptions, "Invalid options word: use 0 (foreground) or 3 (continuous background)."},
    {kBadFunction, "Invalid function type: 1 is the analog input background scan."},
    {kBusy, "A background scan is running on this board already: stop it first."},
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
    for (int board = 0; board < kBoards; ++board) {
        BoardState &b = layout_->boards[board];
        for (auto &volts : b.output_volts)
            volts.store(0.0, std::memory_order_relaxed);
        for (int channel = 0; channel < kAnalogInputs; ++channel)
            set_signal(board, channel, default_signal(channel));
        b.queue.length.store(0, std::memory_order_relaxed);
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

namespace daqgate::sim {

namespace {

// Seconds on the monotonic clock, the time base of the signals.
double monotonic_seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Status Rig::read_analog(int board, int channel, int range, uint16_t *counts) const
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid_input(channel))
        return kBadChannel;
    Range span{};
    if (!find_range(range, &span))
        return kBadRange;
    const Signal input = signal(board, channel);
    double volts = 0;
    switch (input.kind) {
    case SignalKind::counter:
        *counts = 0;  // a point read is a scan operation of one scan
        return kNoError;
    case SignalKind::loopback0:
    case SignalKind::loopback1:
        volts = output_volts(board, input.kind == SignalKind::loopback0 ? 0 : 1);
        break;
    default:
        volts = signal_volts(input, monotonic_seconds(), static_cast<uint64_t>(board * kAnalogInputs + channel));
    }
    volts_to_counts(span, volts, counts);
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
        signals[c] = signal(board, low + c);
    const double outputs[kAnalogOutputs] = {output_volts(board, 0), output_volts(board, 1)};
    *source = std::make_unique<ScanSource>(signals, outputs, span, channels, pace->aggregate / channels,
                                           monotonic_seconds(),
                             static_cast<uint64_t>(board * kAnalogInputs + low));
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

double Rig::output_volts(int board, int output) const
{
    return layout_->boards[board].output_volts[output].load(std::memory_order_acquire);
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
    lock();
    for (int i = 0; i < count; ++i) {
        queue.channel[i].store(channels[i], std::memory_order_relaxed);
        queue.range[i].store(ranges[i], std::memory_order_relaxed);
    }
    queue.length.store(count, std::memory_order_release);
    unlock();
    return kNoError;
}

int Rig::gain_queue(int board, short *channels, short *ranges) const
{
    const QueueState &queue = layout_->boards[board].queue;
    const int count = queue.length.load(std::memory_order_acquire);
    for (int i = 0; i < count && i < kQueueLength; ++i) {
        channels[i] = queue.channel[i].load(std::memory_order_relaxed);
        ranges[i] = queue.range[i].load(std::memory_order_relaxed);
    }
    return count;
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

Signal Rig::signal(int board, int channel) const
{
    const SignalState &state = layout_->boards[board].signals[channel];
    Signal input;
    for (;;) {
        const uint32_t before = state.sequence.load(std::memory_order_acquire);
        input.kind = static_cast<SignalKind>(state.kind.load(std::memory_order_relaxed));
        input.amplitude = state.amplitude.load(std::memory_order_relaxed);
        input.frequency = state.frequency.load(std::memory_order_relaxed);
        input.offset = state.offset.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1u) == 0 && state.sequence.load(std::memory_order_relaxed) == before)
            return input;
    }
}

}  // namespace daqgate::sim
