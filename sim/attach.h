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

// How many calls pass between two chances of a look at the rig file (made
// then at most every kLookPeriod, periods.h).  Off the fast path, which
// stays a few loads.  Counted without a read-modify-write: calls of
// several threads at once may count as one, which only delays a look.
constexpr uint32_t kLookEveryCalls = 1024;
inline std::atomic<uint32_t> calls_since_look{0};

inline bool look_due()
{
    const uint32_t calls = calls_since_look.load(std::memory_order_relaxed) + 1;
    calls_since_look.store(calls, std::memory_order_relaxed);
    return (calls & (kLookEveryCalls - 1)) == 0;
}

// The slow path of every call on the rig: the first open, from
// $DAQGATE_RIG (or the per-user default), tried again at each call until
// it succeeds, so that a script can go on after 'simboard reset' mends
// the file; the periodic look at the file; and the taking back of a lost
// rig.  nullptr, with the status, when there is no rig to work on.
Rig *rig_for_call(Status *status);

// After a call that met a lost rig or invalid data (which may be a file cut
// short): the file looked at at once, and a lost rig taken back when the
// file holds one made anew.  What became of the rig.
enum class Standing { intact, taken_back, lost };
Standing look_or_take_back(Rig &rig);

// Runs work on this process's rig, or returns why there is none.  A loss
// seen during the work (a fault on the mapping) is its result; so is a
// loss that invalid data leads to (a file cut short).  A rig lost before
// the call is taken back, or the call refused, before the work acts: work
// that starts something (a background scan) acts once.
template <typename Work>
inline int on_rig(Work work)
{
    Rig *open = attached.load(std::memory_order_acquire);
    if (open == nullptr || open->lost() || look_due()) {
        Status status = kNoError;
        open = rig_for_call(&status);
        if (open == nullptr)
            return status;
    }
    const int status = work(*open);
    if (status != kRigCorrupt && !open->lost())
        return status;
    switch (look_or_take_back(*open)) {
    case Standing::intact: return status;
    case Standing::lost: return kRigLost;
    case Standing::taken_back: break;
    }
    // Lost before or during this call, and taken back: the work is done
    // again on the renewed rig.
    const int again = work(*open);
    return open->lost() ? kRigLost : again;
}

// At an entry point that takes a board, before the operation acts: the
// board's latency waited and the status of a fault that strikes the call,
// kNoError to go on (faults.h); touched() gives what the call names, made
// only when the board has faults.  A process without a rig meets neither.
template <typename Touches>
inline int meet_faults(int board, Operation operation, Touches touched)
{
    Rig *open = attached.load(std::memory_order_acquire);
    if (open == nullptr) {
        Status status = kNoError;
        open = rig_for_call(&status);
        if (open == nullptr)
            return kNoError;  // the operation meets the missing rig itself
    }
    return open->meet_faults(board, operation, touched);
}

}  // namespace daqgate::sim

#endif
