// faults.cpp - a board's trouble on demand: faults that strike its
// operations and the latency that paces them.
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
#define CBW32_BOARD_OP(name, ident, stack, returns, parameters, reach) \
  {Operation::ident, #name, reaches::reach.target, reaches::reach.paced},
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
        layout_->boards[spec.board].trouble.fetch_add(kOneFault);
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
        layout->boards[board].trouble.fetch_sub(kOneFault);
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
    std::atomic<uint64_t> &word = layout_->boards[board].trouble;
    uint64_t old = word.load();
    while (!word.compare_exchange_weak(old, (old & ~kLatencyBits) | micros)) {
    }
    return kNoError;
}

uint32_t Rig::latency(int board) const
{
    return latency_in(layout_->boards[board].trouble.load());
}

Status Rig::faults_slow(int board, Operation operation, const Touched &touched, uint64_t word) const
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

}  // namespace daqgate::sim
