// clock.cpp - waits that sleep most of the way and spin the rest.
#include "clock.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace daqgate::sim {

namespace {

// Seconds; shared by the threads of the process (relaxed: a stale mean
// only makes one wait spin a little more or less).  The first waits
// assume 100 us, this machine's wake-up.
std::atomic<double> mean_overrun{100e-6};

}  // namespace

double next_overrun(double mean, double overrun)
{
    // An eighth of each new overrun: one slow wake-up moves the margin a
    // little, a machine that has grown slower moves it within some waits.
    return mean + (std::max(overrun, 0.0) - mean) / 8;
}

double sleep_margin(double mean)
{
    return std::min(2 * std::max(mean, 0.0), kMostSpin);
}

SteadyClock::time_point wake_before(SteadyClock::time_point end, double mean)
{
    return end - std::chrono::duration_cast<SteadyClock::duration>(
                     std::chrono::duration<double>(sleep_margin(mean)));
}

void wait_until(SteadyClock::time_point end)
{
    const double mean = mean_overrun.load(std::memory_order_relaxed);
    const auto wake = wake_before(end, mean);
    if (SteadyClock::now() < wake) {
        std::this_thread::sleep_until(wake);
        const double overrun = std::chrono::duration<double>(SteadyClock::now() - wake).count();
        mean_overrun.store(next_overrun(mean, overrun), std::memory_order_relaxed);
    }
    while (SteadyClock::now() < end) {
    }
}

}  // namespace daqgate::sim
