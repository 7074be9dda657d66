// attach.h - the rig of this process, as the driver's entry points reach
// it: opened on first use, looked at now and then off the fast path, and
// taken back after a loss once the file holds a rig made anew.
#ifndef DAQGATE_SIM_ATTACH_H
#define DAQGATE_SIM_ATTACH_H

#include <atomic>
#include <cstdint>

#include "rig.h"

namespace daqgate::sim {

inline std::atomic<Rig *> attached{nullptr};

// How often, in calls, the rig file may be looked at (at most every 20 ms
// of them): whether it still backs the mapping whole and is still the
// file of its name.  Off the fast path, which stays a few loads.
// Counted without a read-modify-write: calls of several threads at once
// may count as one, which only delays a check.
constexpr uint32_t kCheckEvery = 1024;
inline std::atomic<uint32_t> calls_since_check{0};

inline bool check_due()
{
    const uint32_t calls = calls_since_check.load(std::memory_order_relaxed) + 1;
    calls_since_check.store(calls, std::memory_order_relaxed);
    return (calls & (kCheckEvery - 1)) == 0;
}

// The slow path of every call on the rig: the first open, from
// $DAQGATE_RIG (or the per-user default), tried again at each call until
// it succeeds, so that a script can go on after 'simboard reset' mends
// the file; the periodic look at the file; and the renewal of a lost rig.
// nullptr, with the status, when there is no rig to work on.
Rig *attend(Status *status);

// After a call that met a lost rig or invalid data (which may be a file cut
// short): the file looked at at once, and a lost rig renewed when the file
// holds one made anew.
enum class Recovery { intact, renewed, lost };
Recovery recover(Rig &rig);

// Runs operation on this process's rig, or returns why there is none.  A
// loss seen during the operation (a fault on the mapping) is its result;
// so is a loss that invalid data leads to (a file cut short).  A rig lost
// before the call is renewed, or the call refused, before the operation
// acts: an operation that starts something (a background scan) acts once.
template <typename Operation>
inline int on_rig(Operation operation)
{
    Rig *open = attached.load(std::memory_order_acquire);
    if (open == nullptr || open->lost() || check_due()) {
        Status status = kNoError;
        open = attend(&status);
        if (open == nullptr)
            return status;
    }
    const int status = operation(*open);
    if (status != kRigCorrupt && !open->lost())
        return status;
    switch (recover(*open)) {
    case Recovery::intact: return status;
    case Recovery::lost: return kRigLost;
    case Recovery::renewed: break;
    }
    // Lost before or during this call, and renewed: the operation is made
    // again on the renewed rig.
    const int again = operation(*open);
    return open->lost() ? kRigLost : again;
}

// At an entry point that takes a board, before the operation acts: the
// board's latency waited and the status of a fault that strikes the call,
// kNoError to go on (bench.h); touched() gives what the call names, made
// only when the board has faults.  A process without a rig meets neither.
template <typename Touches>
inline int meet_bench(int board, Operation operation, Touches touched)
{
    Rig *open = attached.load(std::memory_order_acquire);
    if (open == nullptr) {
        Status status = kNoError;
        open = attend(&status);
        if (open == nullptr)
            return kNoError;  // the operation meets the missing rig itself
    }
    return open->meet_bench(board, operation, touched);
}

}  // namespace daqgate::sim

#endif
