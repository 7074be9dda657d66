// frontend.cpp - the analog front end of the simulated boards on the rig:
// point I/O, the inputs' signals, the gain queue and the start of a scan.
#include <cmath>
#include <thread>

#include "periods.h"
#include "rig.h"

namespace daqgate::sim {

namespace {

// Claims a board's queue for one writer, without the file's lock, which
// would cost every call two system calls: the count moves from even to
// odd.  Returns the odd count this writer holds.
uint32_t claim_queue(QueueState &queue)
{
    uint32_t seen = queue.sequence.load(std::memory_order_relaxed);
    double odd_since = -1;
    for (;;) {
        if ((seen & 1) == 0) {
            const uint32_t claimed = seen + 1;
            if (queue.sequence.compare_exchange_weak(seen, claimed, std::memory_order_acquire,
                                                     std::memory_order_relaxed))
                return claimed;
            continue;
        }
        const double now = monotonic_seconds();
        if (odd_since < 0) {
            odd_since = now;
        } else if (now - odd_since > seconds_of(kQueueAbandonPeriod)) {
            const uint32_t taken = seen + 2;  // odd still: readers keep away
            if (queue.sequence.compare_exchange_strong(seen, taken, std::memory_order_acquire,
                                                       std::memory_order_relaxed))
                return taken;
            odd_since = -1;
            continue;
        }
        std::this_thread::yield();
        const uint32_t again = queue.sequence.load(std::memory_order_relaxed);
        if (again != seen)
            odd_since = -1;
        seen = again;
    }
}

// Copies what a writer's sequence count guards: copy() reads it, and the
// copy holds once the count was even before it and unmoved after.  A
// writer takes a few stores, so a count still odd or moving after this
// many tries is a writer that died half way, or a scribble: false, instead
// of spinning for ever.
template <typename Copy>
bool read_settled(const std::atomic<uint32_t> &sequence, Copy copy)
{
    constexpr int kTries = 100000;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const uint32_t before = sequence.load(std::memory_order_acquire);
        copy();
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1u) == 0 && sequence.load(std::memory_order_relaxed) == before)
            return true;
    }
    return false;
}

}  // namespace

Status Rig::read_analog(int board, int channel, int range, uint16_t *counts) const
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid_input(board, channel))
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
    if (!valid_input(board, low) || !valid_input(board, high) || high < low)
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
    for (int output = 0; output < kBoardTable[board].outputs; ++output)
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
    if (!valid_output(board, channel))
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
    if (count < 0 || count > kBoardTable[board].queue)
        return kBadCount;
    Range span{};
    for (int i = 0; i < count; ++i) {
        if (!valid_input(board, channels[i]))
            return kBadChannel;
        if (!find_range(ranges[i], &span))
            return kBadRange;
    }
    QueueState &queue = layout_->boards[board].queue;
    const uint32_t claimed = claim_queue(queue);
    std::atomic_thread_fence(std::memory_order_release);
    for (int i = 0; i < count; ++i) {
        queue.channel[i].store(channels[i], std::memory_order_relaxed);
        queue.range[i].store(ranges[i], std::memory_order_relaxed);
    }
    queue.length.store(count, std::memory_order_relaxed);
    // Handed back only while still this writer's: one that stalled so long
    // that another took the queue over leaves the count to that one.
    uint32_t expected = claimed;
    queue.sequence.compare_exchange_strong(expected, claimed + 1, std::memory_order_release,
                                           std::memory_order_relaxed);
    return kNoError;
}

Status Rig::gain_queue(int board, short *channels, short *ranges, int *count) const
{
    const QueueState &queue = layout_->boards[board].queue;
    int length = 0;
    int copied = 0;
    const bool settled = read_settled(queue.sequence, [&] {
        length = queue.length.load(std::memory_order_relaxed);
        const int most = kBoardTable[board].queue;
        copied = length < 0 ? 0 : length > most ? most : length;
        for (int i = 0; i < copied; ++i) {
            channels[i] = queue.channel[i].load(std::memory_order_relaxed);
            ranges[i] = queue.range[i].load(std::memory_order_relaxed);
        }
    });
    if (!settled) {
        *count = 0;
        return kRigCorrupt;
    }
    *count = length;
    return length == copied ? kNoError : kRigCorrupt;
}

Status Rig::set_signal(int board, int channel, const Signal &input)
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid_input(board, channel))
        return kBadChannel;
    // What the rig would refuse to read back is not written.
    if (signal_fault(input) != nullptr)
        return kBadSignal;
    if (!signal_kind_info(input.kind)->recorded)
        release_recording(board, channel);
    SignalState &state = layout_->boards[board].signals[channel];
    const uint32_t begun = state.sequence.load(std::memory_order_relaxed) | 1u;
    state.sequence.store(begun, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    state.kind.store(static_cast<uint32_t>(input.kind), std::memory_order_relaxed);
    for (int i = 0; i < kSignalParameters; ++i)
        state.parameters[i].store(input.parameters[i], std::memory_order_relaxed);
    state.recording.store(input.recording, std::memory_order_relaxed);
    state.loop.store(input.loop ? 1u : 0u, std::memory_order_relaxed);
    state.start.store(input.start, std::memory_order_relaxed);
    state.sequence.store(begun + 1, std::memory_order_release);
    return kNoError;
}

Status Rig::signal(int board, int channel, Signal *out) const
{
    const SignalState &state = layout_->boards[board].signals[channel];
    uint32_t kind = 0;
    Signal input;
    const bool settled = read_settled(state.sequence, [&] {
        kind = state.kind.load(std::memory_order_relaxed);
        for (int i = 0; i < kSignalParameters; ++i)
            input.parameters[i] = state.parameters[i].load(std::memory_order_relaxed);
        input.recording = state.recording.load(std::memory_order_relaxed);
        input.loop = state.loop.load(std::memory_order_relaxed) != 0;
        input.start = state.start.load(std::memory_order_relaxed);
    });
    if (!settled)
        return kRigCorrupt;
    input.kind = static_cast<SignalKind>(kind);
    if (signal_fault(input) != nullptr || !std::isfinite(input.start))
        return kRigCorrupt;
    if (signal_kind_info(input.kind)->recorded) {
        // The recording it plays, its count read once: a scan that started
        // on it stays within it whatever is loaded later.
        if (input.recording < 0 || input.recording >= kRecordings)
            return kRigCorrupt;
        const RecordingState &recording = layout_->recordings[input.recording];
        const int count = recording.count.load(std::memory_order_acquire);
        if (count <= 0 || count > kRecordingValues)
            return kRigCorrupt;
        input.volts = recording.volts;
        input.count = count;
    }
    *out = input;
    return kNoError;
}

}  // namespace daqgate::sim
