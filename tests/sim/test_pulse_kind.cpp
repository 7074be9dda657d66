// A signal kind added by a row of the table and its generator alone: the
// tests' pulse (pulse_kind.inc), in the build of the rig, the driver and
// simboard that has it, met as every kind is met, by a point read and a
// scan through the driver's C interface and by simboard.  The product's
// simboard knows no such kind, nor trusts one it finds in the rig.
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "analog.h"
#include "cbw32.h"
#include "rig_environment.h"
#include "rigfile.h"

using namespace daqgate::sim;

namespace {

std::string rig_path;
const auto *const environment =
    ::testing::AddGlobalTestEnvironment(new RigEnvironment("daqgate-pulse-kind-test", &rig_path));

struct Outcome {
    int status;
    std::string output;  // both streams
};

Outcome run(const char *simboard, const std::string &words)
{
    Outcome outcome{-1, ""};
    FILE *pipe = popen(("'" + std::string(simboard) + "' " + words + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr)
        outcome.output += chunk;
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

Outcome pulse_simboard(const std::string &words)
{
    return run(DAQGATE_PULSE_SIMBOARD, words);
}

Outcome product_simboard(const std::string &words)
{
    return run(DAQGATE_SIMBOARD, words);
}

// The line 'simboard show' gives board 0's input 3 (board 0's inputs come
// first), without its newline; "" for none.
std::string input_3_shown(const std::string &shown)
{
    const std::string start = "  input  3: ";
    const std::size_t at = shown.find(start);
    if (at == std::string::npos)
        return "";
    return shown.substr(at, shown.find('\n', at) - at);
}

// The pulse's numbers: level 2 V, period 10 ms, duty a quarter, offset 0.5 V.
constexpr double kLevel = 2, kPeriod = 0.01, kDuty = 0.25, kOffset = 0.5;
const std::string kPulse = "signal 0 3 pulse 2 0.01 0.25 0.5";

// The counts of v volts on the +-10 V range (code 0).
unsigned short counts_of(double volts)
{
    return static_cast<unsigned short>(std::lround((volts + 10) * 65536 / 20));
}
const unsigned short kHighCounts = counts_of(kOffset + kLevel);  // 40960
const unsigned short kLowCounts = counts_of(kOffset);            // 34406 (34406.4)

// Whether the pulse is at offset + level at t seconds, and in which of its
// periods t falls.
bool high_at(double t)
{
    const double periods = t / kPeriod;
    return periods - std::floor(periods) < kDuty;
}
double period_of(double t)
{
    return std::floor(t / kPeriod);
}

// Each test on a rig in its power-up state, board 0's input 3 set by the
// simboard of this build.
class PulseKind : public ::testing::Test {
protected:
    void SetUp() override
    {
        const Outcome reset = pulse_simboard("reset");
        ASSERT_EQ(reset.status, 0) << reset.output;
    }
    void set(const std::string &words)
    {
        const Outcome set = pulse_simboard(words);
        ASSERT_EQ(set.status, 0) << set.output;
        ASSERT_EQ(set.output, "");
    }
};

TEST_F(PulseKind, TheTableHasItAfterItsOwnKinds)
{
    // An added row is the table's last, past every kind the code names,
    // and is found by its name and by its kind as theirs are.
    std::size_t count = 0;
    const SignalKindInfo *kinds = signal_kinds(&count);
    const SignalKindInfo *pulse = signal_kind_named("pulse");
    ASSERT_NE(pulse, nullptr);
    EXPECT_EQ(pulse, &kinds[count - 1]);
    EXPECT_GT(pulse->kind(), SignalKind::file);
    EXPECT_EQ(signal_kind_info(pulse->kind()), pulse);
    EXPECT_STREQ(signal_name(pulse->kind()), "pulse");
    // The kinds the code names keep their rows.
    EXPECT_STREQ(signal_name(SignalKind::dc), "dc");
    EXPECT_STREQ(signal_name(SignalKind::file), "file");
}

TEST_F(PulseKind, APointReadIsThePulseAtTheTimeOfTheRead)
{
    ASSERT_NO_FATAL_FAILURE(set(kPulse));
    // A read between two times (on the clock the driver reads) in one
    // period at one level has that level's counts; one across an edge is
    // left out.  Reads a tenth of a
    // millisecond apart or more sweep the 10 ms period until both levels
    // have been met 50 times.
    int highs = 0, lows = 0;
    for (int attempt = 0; attempt < 20000 && (highs < 50 || lows < 50); ++attempt) {
        unsigned short counts = 0;
        const double before = monotonic_seconds();
        ASSERT_EQ(cbReadAnalog(0, 3, 0, &counts), 0);
        const double after = monotonic_seconds();
        if (high_at(before) == high_at(after) && period_of(before) == period_of(after)) {
            ASSERT_EQ(counts, high_at(before) ? kHighCounts : kLowCounts) << before << " .. " << after;
            ++(high_at(before) ? highs : lows);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    EXPECT_GE(highs, 50);
    EXPECT_GE(lows, 50);

    // A duty of all or nothing holds one level whenever the read falls.
    unsigned short counts = 0;
    ASSERT_NO_FATAL_FAILURE(set("signal 0 3 pulse 2 0.01 1 0.5"));
    ASSERT_EQ(cbReadAnalog(0, 3, 0, &counts), 0);
    EXPECT_EQ(counts, kHighCounts);
    ASSERT_NO_FATAL_FAILURE(set("signal 0 3 pulse 2 0.01 0 0.5"));
    ASSERT_EQ(cbReadAnalog(0, 3, 0, &counts), 0);
    EXPECT_EQ(counts, kLowCounts);
}

TEST_F(PulseKind, AScanHoldsTheDutyOfEveryPeriod)
{
    ASSERT_NO_FATAL_FAILURE(set(kPulse));
    // 100000 scans a second: sample i at 10 us * i from the scan's start,
    // 1000 samples to a period, and 10000 samples are 10 whole periods.
    // Wherever the first falls, the first quarter of a period holds 250 of
    // its samples and the rest 750.  Only a sample within rounding of an
    // edge (far less than 10 us) may fall on its other side: one an edge
    // at most, of the 20 edges the scan crosses.
    constexpr int kSamples = 10000, kEdges = 20;
    const DaqHandle handle = cbNewSampleBuffer(kSamples);
    int rate = 100000;
    ASSERT_EQ(cbReadAnalogScan(0, 3, 3, kSamples, &rate, 0, handle, CB_FOREGROUND), 0);
    EXPECT_EQ(rate, 100000);
    std::vector<unsigned short> samples(kSamples);
    ASSERT_EQ(cbWinBufToArray(handle, samples.data(), 0, kSamples), 0);
    int highs = 0;
    for (int i = 0; i < kSamples; ++i) {
        ASSERT_TRUE(samples[i] == kHighCounts || samples[i] == kLowCounts) << i << ": " << samples[i];
        highs += samples[i] == kHighCounts;
    }
    EXPECT_NEAR(highs, kDuty * kSamples, kEdges);
    // Between two edges, a run of one level: 250 samples high or 750 low,
    // each of its ends one sample off at most.  The first and the last run
    // may be cut by the scan's ends.
    std::vector<int> starts;
    for (int i = 1; i < kSamples; ++i)
        if (samples[i] != samples[i - 1])
            starts.push_back(i);
    ASSERT_GE(starts.size(), static_cast<std::size_t>(kEdges - 1));  // the first sample on one
    EXPECT_LE(starts.size(), static_cast<std::size_t>(kEdges));
    for (std::size_t r = 0; r + 1 < starts.size(); ++r) {
        const int run = starts[r + 1] - starts[r];
        EXPECT_NEAR(run, samples[starts[r]] == kHighCounts ? 250 : 750, 2) << "run from sample " << starts[r];
    }
}

TEST_F(PulseKind, SimboardTakesShowsAndRefusesItsNumbers)
{
    const Outcome help = pulse_simboard("signal --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find(" | pulse LEVEL PERIOD DUTY [OFFSET]"), std::string::npos) << help.output;

    ASSERT_NO_FATAL_FAILURE(set(kPulse));
    Outcome show = pulse_simboard("show");
    EXPECT_EQ(show.status, 0);
    EXPECT_EQ(input_3_shown(show.output), "  input  3: pulse 2 V for 0.25 of every 0.01 s, offset 0.5 V");
    ASSERT_NO_FATAL_FAILURE(set("signal 0 3 pulse 1.5 2 0.75"));
    show = pulse_simboard("show");
    EXPECT_EQ(input_3_shown(show.output), "  input  3: pulse 1.5 V for 0.75 of every 2 s, offset 0 V");

    // What the row's check refuses, and the checks of every kind.
    const struct {
        const char *numbers;
        const char *refusal;
    } refused[] = {
        {"2 0 0.5 0", "simboard: VALUES: a pulse's period must be above 0\n"},
        {"2 -1 0.5 0", "simboard: VALUES: a pulse's period must be above 0\n"},
        {"2 1 7 0", "simboard: VALUES: a pulse's duty must be from 0 to 1\n"},
        {"2 1 -0.25", "simboard: VALUES: a pulse's duty must be from 0 to 1\n"},
        {"2 inf 0.5 0", "simboard: VALUES: the numbers of a signal must be finite\n"},
        {"2 1 0.5 nan", "simboard: VALUES: the numbers of a signal must be finite\n"},
        {"2 1", "simboard: VALUES: wrong count of numbers for 'pulse'\n"},
        {"2 1 0.5 0 9", "simboard: VALUES: wrong count of numbers for 'pulse'\n"},
    };
    for (const auto &numbers : refused) {
        const Outcome outcome = pulse_simboard(std::string("signal 0 3 pulse ") + numbers.numbers);
        EXPECT_EQ(outcome.status, 2) << numbers.numbers;
        EXPECT_EQ(outcome.output, numbers.refusal) << numbers.numbers;
    }
    // The input keeps the pulse it had.
    show = pulse_simboard("show");
    EXPECT_EQ(input_3_shown(show.output), "  input  3: pulse 1.5 V for 0.75 of every 2 s, offset 0 V");
}

TEST_F(PulseKind, TheProductsSimboardHasNoSuchKind)
{
    Outcome outcome = product_simboard(kPulse);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.output, "simboard: KIND: 'pulse' is not a signal kind\n");
    // A rig that holds a kind past its table holds no signal it knows.
    ASSERT_NO_FATAL_FAILURE(set(kPulse));
    outcome = product_simboard("show");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(input_3_shown(outcome.output), "  input  3: invalid signal");
}

}  // namespace
