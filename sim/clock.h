// clock.h - a wait of the simulated board that ends on time: the pace of
// a foreground scan, which a board's clock ends to the microsecond.  A
// sleep ends late by the scheduler's wake-up, some 100 us on Linux and a
// millisecond or more on Windows, which would make a 1.6 ms scan 7% slow.
// So the wait sleeps until short of its end by what sleeps have overrun
// lately, and spins the rest.  A board's latency stays a plain sleep: it
// stands for a call blocked in the board's driver, which leaves the
// processor to other processes (a peer, a capture).
#ifndef DAQGATE_SIM_CLOCK_H
#define DAQGATE_SIM_CLOCK_H

#include <chrono>

namespace daqgate::sim {

using SteadyClock = std::chrono::steady_clock;

// The spin of one wait is at most this long: a sleep that overran by more
// (a loaded machine) costs its lateness, not processor time.
constexpr double kMostSpin = 2e-3;

// The running mean of sleeps' overrun, in seconds, after one more sleep
// overran by overrun (a sleep cut short counts as none).
double next_overrun(double mean, double overrun);
// How far short of its end a wait stops sleeping, for that mean.
double sleep_margin(double mean);
// When a wait that ends at end wakes from its sleep, for that mean.
SteadyClock::time_point wake_before(SteadyClock::time_point end, double mean);

// Returns at end or, when a sleep overran it, as soon after as the
// scheduler allows; at once for an end already passed.
void wait_until(SteadyClock::time_point end);

}  // namespace daqgate::sim

#endif
