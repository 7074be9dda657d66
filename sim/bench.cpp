// bench.cpp - the test bench on the rig: faults, latency, recordings and
// the change counts a capture reads.
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "rig.h"

namespace daqgate::sim {

namespace {

// What a call of an operation reaches, by the table's reach column: what
// --port or --channel limits, and whether the board's latency paces it.
struct Reach {
    Target target;
    bool paced;
};
namespace reaches {
constexpr Reach port{Target::port, true};
constexpr Reach channel{Target::channel, true};
constexpr Reach board{Target::none, true};
constexpr Reach arithmetic{Target::none, false};
}  // namespace reaches

constexpr OperationInfo kOperations[] = {
#define CBW32_BOARD_OP(name, member, stack, returns, parameters, reach) \
  {Operation::member, #name, reaches::reach.target, reaches::reach.paced},
#include "cbw32_ops.h"
};

constexpr uint64_t kOneFault = uint64_t{1} << 32;
constexpr uint64_t kLatencyBits = kOneFault - 1;

// The latency a board's word holds, never longer than the bound, whatever
// a scribbler left.
uint32_t latency_in(uint64_t word)
{
    const auto micros = static_cast<uint32_t>(word & kLatencyBits);
    return micros > kMaxLatencyMicros ? kMaxLatencyMicros : micros;
}

}  // namespace

const OperationInfo *operations(std::size_t *count)
{
    *count = sizeof kOperations / sizeof *kOperations;
    return kOperations;
}

const OperationInfo *operation_info(Operation operation)
{
    for (const OperationInfo &info : kOperations)
        if (info.operation == operation)
            return &info;
    return nullptr;
}

const OperationInfo *operation_named(const char *name)
{
    for (const OperationInfo &info : kOperations)
        if (std::strcmp(info.name, name) == 0)
            return &info;
    return nullptr;
}

Status Rig::arm_fault(const FaultSpec &spec)
{
    if (!valid_board(spec.board))
        return kBadBoard;
    const RigLock lock(file_);
    if (lock.status() != kNoError)
        return lock.status();
    for (FaultState &fault : layout_->faults) {
        if (fault.state.load() == kFaultArmed)
            continue;  // a free slot, or one whose fault is spent
        const uint32_t begun = fault.sequence.load() | 1u;
        fault.sequence.store(begun);
        fault.state.store(kFaultFree);
        fault.board.store(spec.board);
        fault.operation.store(static_cast<int32_t>(spec.operation));
        fault.status.store(spec.status);
        fault.target.store(static_cast<int32_t>(spec.target));
        fault.which.store(spec.which);
        fault.after.store(spec.after);
        fault.times.store(spec.times);
        fault.seen.store(0);
        fault.struck.store(0);
        fault.order.store(layout_->fault_serial.fetch_add(1));
        fault.state.store(kFaultArmed);
        fault.sequence.store(begun + 1);
        layout_->boards[spec.board].bench.fetch_add(kOneFault);
        return kNoError;
    }
    return kRigFull;
}

namespace {

// Takes an armed fault off its board: whoever wins the change counts it.
void disarm(RigLayout *layout, FaultState &fault, uint32_t to)
{
    uint32_t armed = kFaultArmed;
    if (!fault.state.compare_exchange_strong(armed, to))
        return;
    const int board = fault.board.load();
    if (board >= 0 && board < kBoards)
        layout->boards[board].bench.fetch_sub(kOneFault);
}

}  // namespace

int Rig::clear_faults(int board)
{
    const RigLock lock(file_);
    if (lock.status() != kNoError)
        return -1;
    int cleared = 0;
    for (FaultState &fault : layout_->faults) {
        const uint32_t state = fault.state.load();
        if (state == kFaultFree || (board >= 0 && fault.board.load() != board))
            continue;
        if (state == kFaultArmed)
            disarm(layout_, fault, kFaultFree);
        fault.state.store(kFaultFree);
        ++cleared;
    }
    return cleared;
}

bool Rig::fault(int slot, FaultView *view) const
{
    if (slot < 0 || slot >= kFaults)
        return false;
    const FaultState &fault = layout_->faults[slot];
    const uint32_t state = fault.state.load();
    if (state != kFaultArmed && state != kFaultSpent)
        return false;
    FaultView seen;
    seen.spec.board = fault.board.load();
    seen.spec.operation = static_cast<Operation>(fault.operation.load());
    seen.spec.status = fault.status.load();
    seen.spec.target = static_cast<Target>(fault.target.load());
    seen.spec.which = fault.which.load();
    seen.spec.after = fault.after.load();
    seen.spec.times = fault.times.load();
    seen.seen = fault.seen.load();
    seen.struck = fault.struck.load();
    seen.spent = state == kFaultSpent;
    if (!valid_board(seen.spec.board) || operation_info(seen.spec.operation) == nullptr)
        return false;
    *view = seen;
    return true;
}

Status Rig::set_latency(int board, uint32_t micros)
{
    if (!valid_board(board))
        return kBadBoard;
    if (micros > kMaxLatencyMicros)
        micros = kMaxLatencyMicros;
    std::atomic<uint64_t> &word = layout_->boards[board].bench;
    uint64_t old = word.load();
    while (!word.compare_exchange_weak(old, (old & ~kLatencyBits) | micros)) {
    }
    return kNoError;
}

uint32_t Rig::latency(int board) const
{
    return latency_in(layout_->boards[board].bench.load());
}

Status Rig::bench_slow(int board, Operation operation, const Touched &touched, uint64_t word) const
{
    const OperationInfo *info = operation_info(operation);
    const uint32_t micros = info != nullptr && info->paced ? latency_in(word) : 0u;
    if (micros > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
    return (word >> 32) == 0 ? kNoError : strike(board, operation, touched);
}

Status Rig::strike(int board, Operation operation, const Touched &touched) const
{
    // Every armed fault that matches counts the call; of those past their
    // `after`, the first armed strikes, if it has strikes left.
    FaultState *due[kFaults];
    int dues = 0;
    for (FaultState &fault : layout_->faults) {
        const uint32_t before = fault.sequence.load(std::memory_order_acquire);
        if ((before & 1u) != 0 || fault.state.load() != kFaultArmed)
            continue;
        const bool matches =
            fault.board.load() == board && fault.operation.load() == static_cast<int32_t>(operation) &&
            (fault.target.load() == static_cast<int32_t>(Target::none) || touched.covers(fault.which.load()));
        if (!matches || fault.sequence.load() != before)
            continue;
        if (fault.seen.fetch_add(1) >= fault.after.load())
            due[dues++] = &fault;
    }
    while (dues > 0) {
        int first = 0;
        for (int i = 1; i < dues; ++i)
            if (due[i]->order.load() < due[first]->order.load())
                first = i;
        FaultState &fault = *due[first];
        due[first] = due[--dues];
        const int status = fault.status.load();
        if (status == kNoError)
            continue;  // never armed so: a scribble
        const int64_t times = fault.times.load();
        const int64_t strikes = fault.struck.fetch_add(1);
        if (times >= 0 && strikes >= times)
            continue;  // spent by another call meanwhile
        if (times >= 0 && strikes + 1 == times)
            disarm(layout_, fault, kFaultSpent);
        return static_cast<Status>(status);
    }
    return kNoError;
}

void Rig::release_recording(int board, int channel)
{
    const int32_t input = board * kAnalogInputs + channel;
    for (RecordingState &recording : layout_->recordings) {
        int32_t owner = input;
        recording.owner.compare_exchange_strong(owner, -1);
    }
}

Status Rig::play(int board, int channel, const float *volts, int count, double rate, bool loop,
                 const std::string &name)
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid_input(board, channel))
        return kBadChannel;
    if (count <= 0 || count > kRecordingValues)
        return kBadCount;
    if (!(rate > 0) || !std::isfinite(rate))
        return kBadRate;
    const RigLock lock(file_);
    if (lock.status() != kNoError)
        return lock.status();
    // The input's own recording, else a free one, else one whose input
    // has since been given another signal.
    const int32_t input = board * kAnalogInputs + channel;
    int chosen = -1;
    for (int pass = 0; pass < 3 && chosen < 0; ++pass) {
        for (int r = 0; r < kRecordings && chosen < 0; ++r) {
            const int32_t owner = layout_->recordings[r].owner.load();
            if (pass == 0 && owner == input)
                chosen = r;
            if (pass == 1 && owner == -1)
                chosen = r;
            Signal playing;
            if (pass == 2 && (owner < 0 || owner >= kBoards * kAnalogInputs ||
                              signal(owner / kAnalogInputs, owner % kAnalogInputs, &playing) != kNoError ||
                              !signal_kind_info(playing.kind)->recorded || playing.recording != r))
                chosen = r;
        }
    }
    if (chosen < 0)
        return kRigFull;
    RecordingState &recording = layout_->recordings[chosen];
    // The values' storage held before anything changes: a rig made sparse
    // (by an older simboard, or a copy) may find no room for them, and the
    // input then plays what it played.
    const auto from = static_cast<std::size_t>(reinterpret_cast<const char *>(&recording) -
                                               reinterpret_cast<const char *>(layout_));
    const auto bytes = static_cast<std::size_t>(reinterpret_cast<const char *>(recording.volts + count) -
                                                reinterpret_cast<const char *>(&recording));
    if (const Status status = file_.reserve(from, bytes); status != kNoError)
        return no_room(status, "the recording", bytes, file_);
    recording.owner.store(input);
    // A scan playing the old values meanwhile reads some of the new: volts
    // either way, within the count it read.
    recording.count.store(0, std::memory_order_release);
    for (int i = 0; i < count; ++i)
        recording.volts[i].store(volts[i], std::memory_order_relaxed);
    for (int i = 0; i < kRecordingName; ++i)
        recording.name[i].store(i < static_cast<int>(name.size()) ? name[static_cast<std::size_t>(i)] : '\0',
                                std::memory_order_relaxed);
    recording.count.store(count, std::memory_order_release);
    Signal played;
    played.kind = SignalKind::file;
    played.parameters[0] = rate;
    played.loop = loop;
    played.recording = chosen;
    played.start = monotonic_seconds();
    return set_signal(board, channel, played);
}

void Rig::recording_name(int recording, char *name, std::size_t size) const
{
    if (size == 0)
        return;
    std::size_t i = 0;
    if (recording >= 0 && recording < kRecordings)
        for (; i + 1 < size && i < static_cast<std::size_t>(kRecordingName); ++i) {
            const char c = layout_->recordings[recording].name[i].load(std::memory_order_relaxed);
            if (c == '\0')
                break;
            name[i] = c;
        }
    name[i] = '\0';
}

bool Rig::changes_of(PortId id, uint32_t *count) const
{
    PortId source{};
    bool has_source = false;
    if (source_of(id, &source, &has_source) != kNoError || !has_source)
        return false;
    *count = changes(source).load(std::memory_order_acquire);
    return true;
}

}  // namespace daqgate::sim
