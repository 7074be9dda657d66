// periods.h - the rig's periods: how often a process on the rig looks at
// the rig file and tries to take a lost rig back (the driver's calls and a
// capture keep the same pace, so that a tool behaves as a script does),
// and how long a half-written gain queue may stand.
#ifndef DAQGATE_SIM_PERIODS_H
#define DAQGATE_SIM_PERIODS_H

#include <chrono>

namespace daqgate::sim {

// The look at the file (whether it still backs the mapping whole and is
// still the file of its name) takes system calls: made at most this often,
// however fast the calls come.
constexpr std::chrono::milliseconds kLookPeriod{20};

// Taking a lost rig back opens the file: tried at most this often, so that
// a loop of failing calls does not open it at every call.
constexpr std::chrono::milliseconds kTakeBackPeriod{50};

// A board's gain queue is written by one process at a time, which stores
// a few values: a writer that held it this long without finishing died
// half way, and its claim is taken over.
constexpr std::chrono::milliseconds kQueueAbandonPeriod{50};

// A period in seconds, for the clock of monotonic_seconds().
constexpr double seconds_of(std::chrono::milliseconds period)
{
    return std::chrono::duration<double>(period).count();
}

}  // namespace daqgate::sim

#endif
