// The simulated analog front end: converters, signals, scans, the pacer,
// the gain queue and sample buffers.
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analog.h"
#include "buffers.h"
#include "rig.h"
#include "scratch.h"

using namespace daqgate::sim;

namespace {

// The volts of a signal of a kind whose samples depend on their time alone
// (dc, the waves, noise) at t seconds, by its row; 0 for the other kinds.
double volts_at(const Signal &signal, double t, uint64_t seed)
{
    const SignalKindInfo *info = signal_kind_info(signal.kind);
    return info != nullptr && info->at != nullptr ? info->at(signal, t, seed) : 0.0;
}

TEST(Converters, FollowTheRoundingAndClampingFormulas)
{
    Range r{};
    ASSERT_TRUE(find_range(0, &r));
    uint16_t c = 1;
    auto counts = [&](double v) {
        EXPECT_TRUE(volts_to_counts(r, v, &c));
        return c;
    };
    EXPECT_EQ(counts(-10.0), 0);
    EXPECT_EQ(counts(0.0), 32768);
    EXPECT_EQ(counts(10.0), 65535);  // 65536 clamps
    EXPECT_EQ(counts(-11.0), 0);
    EXPECT_EQ(counts(1e30), 65535);
    EXPECT_EQ(counts(20.0 / 65536 * 0.49), 32768);  // rounds to nearest
    EXPECT_EQ(counts(20.0 / 65536 * 0.51), 32769);
    EXPECT_FALSE(volts_to_counts(r, NAN, &c));
    EXPECT_DOUBLE_EQ(counts_to_volts(r, 0), -10.0);
    EXPECT_DOUBLE_EQ(counts_to_volts(r, 65535), -10.0 + 65535 * 20.0 / 65536);

    ASSERT_TRUE(find_range(101, &r));
    EXPECT_EQ(counts(2.5), 32768);
    EXPECT_DOUBLE_EQ(counts_to_volts(r, 32768), 2.5);
    for (int code : {0, 1, 2, 3, 100, 101}) {
        ASSERT_TRUE(find_range(code, &r));
        for (uint16_t k : {0, 1, 12345, 32768, 65535}) {
            EXPECT_EQ(counts(counts_to_volts(r, k)), k) << code;  // volts of a count give it back
        }
    }
    EXPECT_FALSE(find_range(4, &r));
    EXPECT_FALSE(find_range(-1, &r));
}

TEST(Ranges, EveryCodeFindsItsSpanAndNoOtherCodeFindsOne)
{
    const std::vector<std::vector<double>> spans = {{0, -10, 10}, {1, -5, 5},   {2, -2.5, 2.5},
                                                    {3, -1, 1},   {100, 0, 10}, {101, 0, 5}};
    for (const std::vector<double> &span : spans) {
        Range r{};
        ASSERT_TRUE(find_range(static_cast<int>(span[0]), &r)) << span[0];
        EXPECT_EQ(r.low, span[1]) << span[0];
        EXPECT_EQ(r.high, span[2]) << span[0];
    }
    int found = 0;
    for (int code = -1000; code <= 1000; ++code) {
        Range r{};
        found += find_range(code, &r) ? 1 : 0;
    }
    EXPECT_EQ(found, 6);
    Range untouched{7, 8};
    EXPECT_FALSE(find_range(102, &untouched));
    EXPECT_EQ(untouched.low, 7);
    EXPECT_EQ(untouched.high, 8);
}

TEST(Ranges, TheListInWordsIsMadeFromTheTable)
{
    EXPECT_EQ(range_list(RangeWords::status),
              "0, 1, 2, 3 (bipolar 10, 5, 2.5, 1 V) or 100, 101 (unipolar 10, 5 V)");
    EXPECT_EQ(range_list(RangeWords::help), "0, 1, 2, 3 for +-10, 5, 2.5, 1 V; 100, 101 for 0..10, 0..5 V");
}

// cbReadAnalog's help is static text that a host shows as it stands: its
// line of range codes is the one the table makes, and no other line of it
// lists them again.
TEST(Ranges, TheReadHelpCarriesTheTablesList)
{
    // This file is tests/sim/ of the source tree, as the build names it.
    const std::string source = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().string();
    std::ifstream help(source + "/help/cbReadAnalog.m");
    ASSERT_TRUE(help.good());
    const std::string wanted =
        "%     vrange     range code (simulated: " + range_list(RangeWords::help) + ")";
    std::vector<std::string> lines;
    int listing = 0;
    for (std::string line; std::getline(help, line);) {
        lines.push_back(line);
        listing += line.find("100, 101") != std::string::npos ? 1 : 0;
    }
    ASSERT_GE(lines.size(), 11u);
    EXPECT_EQ(lines[10], wanted);
    EXPECT_EQ(listing, 1);
}

TEST(Signals, DefaultsAndWaveforms)
{
    const Signal s3 = default_signal(3);
    EXPECT_EQ(s3.kind, SignalKind::sine);
    EXPECT_EQ(s3.parameters[0], 1.0);   // amplitude
    EXPECT_EQ(s3.parameters[1], 40.0);  // frequency
    EXPECT_EQ(s3.parameters[2], 1.5);   // offset
    EXPECT_EQ(default_signal(8).kind, SignalKind::dc);
    EXPECT_EQ(default_signal(14).kind, SignalKind::loopback0);
    EXPECT_EQ(default_signal(15).kind, SignalKind::loopback1);

    const Signal sine{SignalKind::sine, 2, 10, 1};
    EXPECT_NEAR(volts_at(sine, 0.025, 0), 3.0, 1e-9);  // a quarter period
    EXPECT_NEAR(volts_at(sine, 0.075, 0), -1.0, 1e-9);
    const Signal square{SignalKind::square, 1, 1, 0};
    EXPECT_EQ(volts_at(square, 0.25, 0), 1.0);
    EXPECT_EQ(volts_at(square, 0.75, 0), -1.0);
    const Signal triangle{SignalKind::triangle, 1, 1, 0};
    EXPECT_NEAR(volts_at(triangle, 0.0, 0), -1.0, 1e-12);
    EXPECT_NEAR(volts_at(triangle, 0.25, 0), 0.0, 1e-12);
    EXPECT_NEAR(volts_at(triangle, 0.5, 0), 1.0, 1e-12);
    EXPECT_EQ(volts_at(Signal{SignalKind::dc, {1.75}}, 3.0, 0), 1.75);

    // Noise: mean near the offset, spread near the rms.
    const Signal noise{SignalKind::noise, {0.5, 2}};  // rms, offset
    double sum = 0, squares = 0;
    constexpr int n = 20000;
    for (int i = 0; i < n; ++i) {
        const double v = volts_at(noise, i * 1e-5, 7) - 2;
        sum += v;
        squares += v * v;
    }
    EXPECT_NEAR(sum / n, 0.0, 0.02);
    EXPECT_NEAR(std::sqrt(squares / n), 0.5, 0.02);
}

TEST(Signals, NamesRoundTrip)
{
    std::size_t count = 0;
    const SignalKindInfo *kinds = signal_kinds(&count);
    ASSERT_GT(count, 0u);
    for (std::size_t i = 0; i < count; ++i) {
        const char *name = signal_name(kinds[i].kind());
        ASSERT_NE(name, nullptr) << i;
        EXPECT_STREQ(name, kinds[i].name);
        EXPECT_EQ(signal_kind_named(name), &kinds[i]) << name;
        EXPECT_EQ(signal_kind_info(kinds[i].kind()), &kinds[i]) << name;
    }
    EXPECT_EQ(signal_name(static_cast<SignalKind>(count)), nullptr);
    EXPECT_EQ(signal_kind_info(static_cast<SignalKind>(count)), nullptr);
    EXPECT_EQ(signal_kind_named("sawtooth"), nullptr);
}

TEST(Pacer, SettlesOnADivisorOfItsClock)
{
    Pace pace{};
    ASSERT_TRUE(settle_rate(1000, 1, &pace));
    EXPECT_EQ(pace.rate, 1000);
    EXPECT_EQ(pace.aggregate, 1000.0);
    ASSERT_TRUE(settle_rate(3000001, 1, &pace));  // 40 MHz / 13 = 3076923
    EXPECT_EQ(pace.rate, 3076923);
    ASSERT_TRUE(settle_rate(100000000, 4, &pace));  // beyond the clock: its fastest
    EXPECT_EQ(pace.aggregate, kPacerClock);
    EXPECT_EQ(pace.rate, 10000000);
    ASSERT_TRUE(settle_rate(1, 16, &pace));
    EXPECT_EQ(pace.rate, 1);
    EXPECT_FALSE(settle_rate(0, 1, &pace));
    EXPECT_FALSE(settle_rate(-5, 1, &pace));
}

TEST(ScanSourceTest, InterleavesChannelsScanByScan)
{
    Range r{};
    ASSERT_TRUE(find_range(0, &r));
    const Signal signals[3] = {Signal{SignalKind::counter, 0, 0, 0}, Signal{SignalKind::dc, 5, 0, 0},
                               Signal{SignalKind::loopback1, 0, 0, 0}};
    const double outputs[2] = {0, -10};
    const ScanSource source(signals, outputs, r, 3, 1000, 0, 0);
    uint16_t out[9];
    source.fill(out, 0, 9);
    EXPECT_EQ(std::vector<uint16_t>(out, out + 9),
              (std::vector<uint16_t>{0, 49152, 0, 1, 49152, 0, 2, 49152, 0}));
    // From the second sample of a scan: channel 1 first.
    source.fill(out, 4, 4);
    EXPECT_EQ(std::vector<uint16_t>(out, out + 4), (std::vector<uint16_t>{49152, 0, 2, 49152}));
    source.fill(out, 2, 3);
    EXPECT_EQ(std::vector<uint16_t>(out, out + 3), (std::vector<uint16_t>{0, 1, 49152}));
    // From the middle of a scan, and on past the counter's wrap.
    source.fill(out, 3 * 65535, 4);
    EXPECT_EQ(std::vector<uint16_t>(out, out + 4), (std::vector<uint16_t>{65535, 49152, 0, 0}));
}

TEST(Signals, PeriodicSignalsWrapTheirPhaseAndKeepTheirOffset)
{
    const Signal square{SignalKind::square, 1, 2, 0.5};
    EXPECT_EQ(volts_at(square, 0.1, 0), 1.5);   // first half of a 0.5 s period
    EXPECT_EQ(volts_at(square, 0.4, 0), -0.5);  // second half: -amplitude + offset
    EXPECT_EQ(volts_at(square, 10.1, 0), 1.5);  // twenty periods on
    EXPECT_EQ(volts_at(square, 10.4, 0), -0.5);
    const Signal triangle{SignalKind::triangle, 2, 1, -1};
    EXPECT_NEAR(volts_at(triangle, 7.25, 0), -1.0, 1e-9);  // as at 0.25
    EXPECT_NEAR(volts_at(triangle, 7.5, 0), 1.0, 1e-9);
    const Signal sine{SignalKind::sine, 1, 3, 0};
    EXPECT_NEAR(volts_at(sine, 100.0 + 1.0 / 12, 0), 1.0, 1e-6);
}

TEST(Signals, TheTableHoldsEveryKindOnceWithItsNumbers)
{
    std::size_t count = 0;
    const SignalKindInfo *kinds = signal_kinds(&count);
    // Every kind in its place, the recorded one among them, and nothing
    // past the table's end.
    ASSERT_GT(count, static_cast<std::size_t>(SignalKind::file));
    std::set<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kinds[i].kind()), i);
        EXPECT_TRUE(names.insert(kinds[i].name).second) << kinds[i].name;
        EXPECT_EQ(signal_kind_named(kinds[i].name), &kinds[i]);
        EXPECT_LE(kinds[i].least, kinds[i].most);
        EXPECT_LE(kinds[i].most, kSignalParameters) << kinds[i].name;
    }
    EXPECT_EQ(signal_kind_info(static_cast<SignalKind>(count)), nullptr);
    EXPECT_EQ(signal_kind_info(SignalKind::loopback1)->follows_output, 1);
    EXPECT_EQ(signal_kind_info(SignalKind::loopback0)->follows_output, 0);
    EXPECT_EQ(signal_kind_info(SignalKind::sine)->follows_output, -1);
}

TEST(ScanSourceTest, EveryKindGivesItsCountsScanByScan)
{
    Range r{};
    ASSERT_TRUE(find_range(1, &r));  // -5..+5 V: 6553.6 counts a volt
    const double outputs[2] = {2.5, -2.5};
    const Signal signals[8] = {{SignalKind::dc, 1, 0, 0},        {SignalKind::sine, 2, 1, 0},
                               {SignalKind::square, 1, 1, -1},   {SignalKind::triangle, 4, 1, 0},
                               {SignalKind::noise, 0, 3},        {SignalKind::counter, 0, 0, 0},
                               {SignalKind::loopback0, 0, 0, 0}, {SignalKind::loopback1, 0, 0, 0}};
    // Four scans a second from t = 0: a quarter period apart.
    const ScanSource source(signals, outputs, r, 8, 4, 0, 0);
    uint16_t out[32];
    source.fill(out, 0, 32);
    const auto scan = [&](int k) { return std::vector<uint16_t>(out + 8 * k, out + 8 * k + 8); };
    const auto c = [](double v) { return static_cast<uint16_t>(std::lround((v + 5) * 6553.6)); };
    EXPECT_EQ(scan(0), (std::vector<uint16_t>{c(1), c(0), c(0), c(-4), c(3), 0, c(2.5), c(-2.5)}));
    EXPECT_EQ(scan(1), (std::vector<uint16_t>{c(1), c(2), c(0), c(0), c(3), 1, c(2.5), c(-2.5)}));
    EXPECT_EQ(scan(2), (std::vector<uint16_t>{c(1), c(0), c(-2), c(4), c(3), 2, c(2.5), c(-2.5)}));
    EXPECT_EQ(scan(3), (std::vector<uint16_t>{c(1), c(-2), c(-2), c(0), c(3), 3, c(2.5), c(-2.5)}));
}

// A recording of three values at four a second, begun a quarter second in:
// its first value before it began, then each in turn; from the moment its
// last has had its time, the last again or the first again, never the
// storage past its end.
TEST(Signals, ARecordingPastItsEndHoldsItsLastValueOrLoops)
{
    std::atomic<float> stored[4];
    const float values[4] = {1, 2, 3, 4.5f};  // 4.5 V lies past the recording's end
    for (int i = 0; i < 4; ++i)
        stored[i].store(values[i]);
    Signal held{SignalKind::file, {4}};
    held.start = 0.25;
    held.volts = stored;
    held.count = 3;
    Signal looped = held;
    looped.loop = true;
    const Stretch stretch{0, 8, 0, 4, 0, -5, 6553.6};
    const auto c = [](double v) { return static_cast<uint16_t>(std::lround((v + 5) * 6553.6)); };
    std::vector<uint16_t> got(8);
    signal_kind_info(SignalKind::file)->generate(held, stretch, got.data(), 1);
    EXPECT_EQ(got, (std::vector<uint16_t>{c(1), c(1), c(2), c(3), c(3), c(3), c(3), c(3)}));
    signal_kind_info(SignalKind::file)->generate(looped, stretch, got.data(), 1);
    EXPECT_EQ(got, (std::vector<uint16_t>{c(1), c(1), c(2), c(3), c(1), c(2), c(3), c(1)}));
}

class RigAnalog : public ::testing::Test {
protected:
    int queue_length(int board, short *c, short *g)
    {
        int n = -1;
        EXPECT_EQ(rig_.gain_queue(board, c, g, &n), kNoError);
        return n;
    }
    Signal signal(int board, int channel)
    {
        Signal s;
        EXPECT_EQ(rig_.signal(board, channel, &s), kNoError);
        return s;
    }
    double output(int board, int output)
    {
        double v = -99;
        EXPECT_EQ(rig_.output_volts(board, output, &v), kNoError);
        return v;
    }
    void SetUp() override
    {
        path_ = scratch::path(std::string("daqgate-analog-test-") +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        scratch::remove(path_);
        ASSERT_EQ(rig_.open(path_), kNoError);
    }
    void TearDown() override
    {
        rig_ = Rig{};
        scratch::remove(path_);
    }
    std::string path_;
    Rig rig_;
};

TEST_F(RigAnalog, OutputsLoopBackToInputsFourteenAndFifteen)
{
    Range r{};
    find_range(1, &r);
    uint16_t counts = 0;
    ASSERT_TRUE(volts_to_counts(r, 2.5, &counts));
    ASSERT_EQ(rig_.write_analog(2, 0, 1, counts), kNoError);
    EXPECT_DOUBLE_EQ(output(2, 0), 2.5);
    uint16_t seen = 0;
    ASSERT_EQ(rig_.read_analog(2, 14, 0, &seen), kNoError);  // read on the 10 V range
    EXPECT_EQ(seen, 32768 + 8192);
    ASSERT_EQ(rig_.read_analog(2, 15, 0, &seen), kNoError);
    EXPECT_EQ(seen, 32768);  // output 1 still at 0 V
    ASSERT_EQ(rig_.read_analog(3, 14, 0, &seen), kNoError);
    EXPECT_EQ(seen, 32768);  // another board's output
}

TEST_F(RigAnalog, ASignalItsKindRefusesIsNotWritten)
{
    const Signal before = signal(1, 6);
    // A frequency, a level, a rate, a kind: each a number of the signal's.
    EXPECT_EQ(rig_.set_signal(1, 6, Signal{SignalKind::sine, {1, std::nan(""), 0}}), kBadSignal);
    EXPECT_EQ(rig_.set_signal(1, 6, Signal{SignalKind::sine, {1, 1, INFINITY}}), kBadSignal);
    EXPECT_EQ(rig_.set_signal(1, 6, Signal{SignalKind::dc, {-INFINITY}}), kBadSignal);
    Signal unplayable{SignalKind::file, {0}};  // a recording's rate must be above 0
    unplayable.recording = 0;
    EXPECT_EQ(rig_.set_signal(1, 6, unplayable), kBadSignal);
    EXPECT_EQ(rig_.set_signal(1, 6, Signal{static_cast<SignalKind>(1000), {}}), kBadSignal);
    const Signal after = signal(1, 6);
    EXPECT_EQ(after.kind, before.kind);
    EXPECT_EQ(std::vector<double>(after.parameters, after.parameters + kSignalParameters),
              std::vector<double>(before.parameters, before.parameters + kSignalParameters));
    EXPECT_EQ(signal_fault(Signal{SignalKind::square, {1, 1, 1}}), nullptr);
    EXPECT_STREQ(signal_fault(unplayable), "a recording's rate must be above 0");
}

TEST_F(RigAnalog, APointReadIsTheFirstSampleOfAScanStartedThen)
{
    ASSERT_EQ(rig_.set_signal(1, 3, Signal{SignalKind::counter, 0, 0, 0}), kNoError);
    ASSERT_EQ(rig_.set_signal(1, 4, Signal{SignalKind::square, 1, 0.001, -2}), kNoError);
    ASSERT_EQ(rig_.set_signal(1, 5, Signal{SignalKind::noise, 0, 1.25}), kNoError);
    uint16_t counts = 1;
    ASSERT_EQ(rig_.read_analog(1, 3, 0, &counts), kNoError);
    EXPECT_EQ(counts, 0);  // the counter's first scan
    ASSERT_EQ(rig_.read_analog(1, 4, 0, &counts), kNoError);
    EXPECT_TRUE(counts == 32768 - 3277 || counts == 32768 - 9830) << counts;  // -1 V or -3 V
    ASSERT_EQ(rig_.read_analog(1, 5, 3, &counts), kNoError);
    EXPECT_EQ(counts, 65535);  // 1.25 V clamps on the 1 V range
}

TEST_F(RigAnalog, APointReadWritesOneCountAndNothingPastIt)
{
    ASSERT_EQ(rig_.set_signal(0, 2, Signal{SignalKind::dc, 2.5, 0, 0}), kNoError);
    uint16_t counts[2] = {0, 0xBEEF};
    ASSERT_EQ(rig_.read_analog(0, 2, 0, counts), kNoError);
    EXPECT_EQ(counts[0], 32768 + 8192);
    EXPECT_EQ(counts[1], 0xBEEF);
}

TEST_F(RigAnalog, UnknownBoardsChannelsAndRangesGiveStatuses)
{
    uint16_t v = 0;
    const BoardModel &board0 = kBoardTable[0];
    EXPECT_EQ(rig_.read_analog(kBoards, 0, 0, &v), kBadBoard);
    EXPECT_EQ(rig_.read_analog(0, board0.inputs, 0, &v), kBadChannel);
    EXPECT_EQ(rig_.read_analog(0, -1, 0, &v), kBadChannel);
    EXPECT_EQ(rig_.read_analog(0, 0, 7, &v), kBadRange);
    EXPECT_EQ(rig_.write_analog(0, board0.outputs, 0, 0), kBadChannel);
    EXPECT_EQ(rig_.write_analog(0, 0, 102, 0), kBadRange);
    Pace pace{};
    std::unique_ptr<ScanSource> source;
    EXPECT_EQ(rig_.begin_scan(0, 3, 2, 0, 100, &pace, &source), kBadChannel);
    EXPECT_EQ(rig_.begin_scan(0, 0, board0.inputs, 0, 100, &pace, &source), kBadChannel);
    EXPECT_EQ(rig_.begin_scan(0, 0, 1, 9, 100, &pace, &source), kBadRange);
    EXPECT_EQ(rig_.begin_scan(0, 0, 1, 0, 0, &pace, &source), kBadRate);
    EXPECT_EQ(rig_.begin_scan(0, 0, 1, 0, 100, &pace, &source), kNoError);
}

TEST_F(RigAnalog, SignalsAndTheQueueAreKeptPerBoardAndReset)
{
    ASSERT_EQ(rig_.set_signal(1, 9, Signal{SignalKind::dc, -2.5, 0, 0}), kNoError);
    uint16_t v = 0;
    ASSERT_EQ(rig_.read_analog(1, 9, 1, &v), kNoError);
    EXPECT_EQ(v, 16384);
    ASSERT_EQ(rig_.read_analog(0, 9, 1, &v), kNoError);
    EXPECT_EQ(v, 32768);

    const short channels[] = {3, 4, 5}, ranges[] = {0, 100, 3}, bad[] = {16, 0, 0};
    EXPECT_EQ(rig_.set_gain_queue(1, channels, ranges, 3), kNoError);
    short c[kQueueLength], g[kQueueLength];
    ASSERT_EQ(queue_length(1, c, g), 3);
    EXPECT_EQ(std::vector<short>(c, c + 3), (std::vector<short>{3, 4, 5}));
    EXPECT_EQ(std::vector<short>(g, g + 3), (std::vector<short>{0, 100, 3}));
    EXPECT_EQ(queue_length(0, c, g), 0);
    EXPECT_EQ(rig_.set_gain_queue(1, bad, ranges, 3), kBadChannel);
    EXPECT_EQ(rig_.set_gain_queue(1, channels, bad, 3), kBadRange);
    EXPECT_EQ(rig_.set_gain_queue(1, channels, ranges, -1), kBadCount);
    EXPECT_EQ(rig_.set_gain_queue(1, channels, ranges, kQueueLength + 1), kBadCount);

    rig_.reset();
    EXPECT_EQ(queue_length(1, c, g), 0);
    EXPECT_EQ(signal(1, 9).kind, SignalKind::dc);
    EXPECT_EQ(signal(1, 9).parameters[0], 0.0);
    EXPECT_EQ(signal(1, 2).kind, SignalKind::sine);
}

TEST(Buffers, HandlesNameTheirBuffersAndNothingElse)
{
    BufferTable table;
    const DaqHandle a = table.allocate(10);
    const DaqHandle b = table.allocate(1);
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_LT(a, 0);  // the top bit is set: scripts see a negative number
    EXPECT_EQ(a, static_cast<DaqHandle>(static_cast<int32_t>(a)));
    ASSERT_NE(table.find(a), nullptr);
    EXPECT_EQ(table.find(a)->size, 10);
    EXPECT_EQ(table.find(b)->size, 1);
    EXPECT_EQ(table.find(a)->samples[9], 0);  // zeroed
    EXPECT_EQ(table.find(0), nullptr);
    EXPECT_EQ(table.find(a + 2), nullptr);  // a slot not yet handed out
    EXPECT_EQ(table.find(static_cast<DaqHandle>(static_cast<uint32_t>(a))), nullptr);  // not sign-extended
    EXPECT_EQ(table.find(12345), nullptr);
    EXPECT_EQ(table.allocate(0), 0);
    EXPECT_EQ(table.allocate(-3), 0);
    EXPECT_EQ(table.allocate(BufferTable::kMaxSamples + 1), 0);
}

TEST(Buffers, EverySlotButTheFirstIsHandedOutOnceAndThenNoMore)
{
    BufferTable table;
    DaqHandle last = 0;
    for (int i = 1; i < 65536; ++i) {
        last = table.allocate(1);
        ASSERT_NE(last, 0) << i;
    }
    EXPECT_EQ(static_cast<uint32_t>(last) & 0xFFFFu, 0xFFFFu);  // the last slot
    ASSERT_NE(table.find(last), nullptr);
    EXPECT_EQ(table.allocate(1), 0);  // none left
}

}  // namespace
