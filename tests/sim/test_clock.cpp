// The board's waits: they end no sooner than asked, and how much of a wait
// is spun follows how late the machine's sleeps have woken.
#include <gtest/gtest.h>

#include "clock.h"

using namespace daqgate::sim;

namespace {

TEST(Clock, AWaitEndsNoSoonerThanItsEnd)
{
    // Long enough to sleep first, short enough to spin the whole of it, and
    // an end already passed.
    for (const auto length :
         {std::chrono::microseconds(3000), std::chrono::microseconds(50), std::chrono::microseconds(-10)}) {
        const auto end = SteadyClock::now() + length;
        wait_until(end);
        EXPECT_GE(SteadyClock::now(), end) << length.count() << " us";
    }
}

TEST(Clock, TheMarginFollowsTheOverrunOfSleeps)
{
    // An eighth of the way to each new overrun.
    EXPECT_DOUBLE_EQ(next_overrun(100e-6, 900e-6), 200e-6);
    EXPECT_DOUBLE_EQ(next_overrun(200e-6, 40e-6), 180e-6);
    // A sleep that woke early overran by nothing.
    EXPECT_DOUBLE_EQ(next_overrun(80e-6, -1e-3), 70e-6);
    // Twice the mean, up to the most a wait spins.
    EXPECT_DOUBLE_EQ(sleep_margin(100e-6), 200e-6);
    EXPECT_DOUBLE_EQ(sleep_margin(5e-3), kMostSpin);
    EXPECT_DOUBLE_EQ(sleep_margin(-1e-6), 0.0);
    EXPECT_DOUBLE_EQ(kMostSpin, 2e-3);
    // The sleep ends that far before the wait's end.
    const auto end = SteadyClock::now();
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(end - wake_before(end, 100e-6)).count(),
              200);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(end - wake_before(end, 1.0)).count(),
              2000);
    EXPECT_EQ(wake_before(end, 0.0), end);
}

}  // namespace
