// The analog gateways against the fake driver: point I/O, the queue, the
// sample buffer handle and the scans.
#include <functional>
#include <cmath>

#include <gtest/gtest.h>

#include "../../analog/convert.h"
#include "fake_driver.h"
#include "gateways.h"
#include "host.h"

using namespace testhost;

namespace {

class Analog : public ::testing::Test {
protected:
    void SetUp() override { fake::driver.reset(); }
    static const std::vector<std::string> &log() { return fake::driver.log; }

    // A driver that answers count c with c / 1000 + offset_ volts, counting
    // its answers in asked_, and whose scans take no time.
    void answer_counts()
    {
        fake::driver.to_eng_units = [this](int, int, unsigned short count, float *volts) {
            ++asked_;
            *volts = static_cast<float>(count / 1000.0 + offset_);
            return 0;
        };
        fake::driver.read_analog_scan = [](int, int, int, int, int *, int, DaqHandle, int) { return 0; };
        fake::driver.log.reserve(200);
    }
    double volts(int count) const { return static_cast<double>(static_cast<float>(count / 1000.0 + offset_)); }
    // A foreground scan of `samples` samples whose buffer holds at(p) at p,
    // asked_ counted afresh.
    Result scan_of(int samples, const std::function<unsigned short(int)> &at)
    {
        const DaqHandle handle = fake::driver.new_sample_buffer(samples);
        for (int p = 0; p < samples; ++p)
            fake::driver.buffers[handle][p] = at(p);
        asked_ = 0;
        fake::driver.log.clear();
        Result r = call(gw_cbReadAnalogScan, 3,
                        {num(0), row({0, 0}), num(samples), num(100), num(0), num(double(handle))});
        EXPECT_FALSE(r.wrote_past_data);
        return r;
    }

    int asked_ = 0;
    double offset_ = 0;
};

TEST_F(Analog, UsageTexts)
{
    EXPECT_EQ(call(gw_cbReadAnalog, 1, {num(0), num(1), num(2), num(3)}).error,
              "*** Usage: cbReadAnalog(boardNum, channel, vrange)");
    EXPECT_EQ(call(gw_cbWriteAnalog, 1, {num(0), num(1), num(2)}).error,
              "*** Usage: cbWriteAnalog(boardNum, channel, vrange, volts)");
    EXPECT_EQ(call(gw_cbSetGainQueue, 1, {num(0)}).error,
              "*** Usage: cbSetGainQueue(boardNum, chanArray, gainArray, numChans");
    EXPECT_EQ(call(gw_cbNewSampleBuffer, 1, {}).error, "*** Usage: cbNewSampleBuffer(numPoints)");
    EXPECT_EQ(call(gw_cbReadAnalogScan, 1, {num(0)}).error,
              "*** Usage: cbReadAnalogScan(boardNum, [lowChan, highChan], sampleCount, sampleRate, vrange, "
              "memHandle");
    EXPECT_EQ(call(gw_cbReadAnalogBackgroundScan, 1, {num(0)}).error,
              "*** Usage: cbReadAnalogBackgroundScan(boardNum, [lowChan, highChan], bufferSize, sampleRate, "
              "vrange, memHandle)");
    EXPECT_TRUE(log().empty());
}

TEST_F(Analog, ReadAnalogReadsThenConvertsAndStoresBothOutputs)
{
    const Result r = call(gw_cbReadAnalog, 2, {num(1), num(2.7), num(-0.5)});
    EXPECT_EQ(log(), (std::vector<std::string>{"cbReadAnalog(1,2,0)", "cbToEngUnits(1,0,1234)"}));
    EXPECT_DOUBLE_EQ(r.out(0), static_cast<double>(1.234f));  // single precision, widened
    EXPECT_EQ(r.out(1), 0);
    // No output requested: the host's one slot holds the volts.
    const Result none = call(gw_cbReadAnalog, 0, {num(1), num(2), num(3)});
    EXPECT_DOUBLE_EQ(none.out(0), static_cast<double>(4.234f));
    EXPECT_FALSE(none.wrote_past_room);
    EXPECT_EQ(none.unstored_arrays, 0);
}

TEST_F(Analog, AFailedReadStillConvertsItsWordAndReturnsTheStatus)
{
    fake::driver.read_analog = [](int, int, int, unsigned short *) { return 9; };  // writes nothing
    const Result r = call(gw_cbReadAnalog, 2, {num(0), num(99), num(0)});
    EXPECT_EQ(log().back(), "cbToEngUnits(0,0,0)");
    EXPECT_EQ(r.out(1), 9);
    // A conversion that fails without an answer leaves 0 V, not a value
    // of its own making.
    fake::driver.to_eng_units = [](int, int, unsigned short, float *) { return 4; };  // writes nothing
    EXPECT_EQ(call(gw_cbReadAnalog, 2, {num(0), num(1), num(0)}).out(0), 0.0);
}

TEST_F(Analog, WriteAnalogNarrowsVoltsToSingleThenConvertsThenWrites)
{
    const Result r = call(gw_cbWriteAnalog, 2, {num(0), num(1.5), num(100), num(0.1)});
    EXPECT_EQ(log(),
              (std::vector<std::string>{"cbFromEngUnits(0,100,0.100000001)", "cbWriteAnalog(0,1,100,100)"}));
    EXPECT_EQ(r.out(0), 100);
    EXPECT_EQ(r.out(1), 0);

    fake::driver.from_eng_units = [](int, int, float, unsigned short *c) {
        *c = 0xFFFF;
        return 0;
    };
    fake::driver.write_analog = [](int, int, int, unsigned short) { return 10; };
    const Result full = call(gw_cbWriteAnalog, 2, {num(0), num(0), num(0), num(1e6)});
    EXPECT_EQ(full.out(0), 65535);  // never negative
    EXPECT_EQ(full.out(1), 10);
}

TEST_F(Analog, GainQueueConvertsWholeListsToSixteenBitsAndPassesNumChansUnchanged)
{
    std::vector<short> channels, ranges;
    fake::driver.set_gain_queue = [&](int, const short *c, const short *g, int) {
        channels.assign(c, c + 4);
        ranges.assign(g, g + 4);
        return 5;
    };
    const Result r =
        call(gw_cbSetGainQueue, 1, {num(1), row({2.9, -0.5, 65537, -1}), row({0, 1, 100, 101.5}), num(3)});
    EXPECT_EQ(r.out(0), 5);
    EXPECT_EQ(log(), (std::vector<std::string>{"cbSetGainQueue(1,3)"}));
    EXPECT_EQ(channels, (std::vector<short>{2, 0, 1, -1}));
    EXPECT_EQ(ranges, (std::vector<short>{0, 1, 100, 101}));
    // Both whole lists were converted, two bytes an entry, and freed.
    EXPECT_EQ(r.mallocs, (std::vector<size_t>{8, 8}));
    EXPECT_EQ(r.held_blocks, 0);
}

TEST_F(Analog, GainQueueListsAreCountedByTheirColumns)
{
    // Column vectors have one column: length 1 each, even of other heights.
    const Result columns =
        call(gw_cbSetGainQueue, 1, {num(0), matrix(3, 1, {4, 5, 6}), matrix(2, 1, {1, 2}), num(1)});
    EXPECT_FALSE(columns.raised) << columns.error;
    EXPECT_EQ(columns.mallocs, (std::vector<size_t>{2, 2}));
    // Two empty lists pass, and the driver is still called.
    const Result empty = call(gw_cbSetGainQueue, 1, {num(0), matrix(0, 0, {}), matrix(1, 0, {}), num(0)});
    EXPECT_FALSE(empty.raised) << empty.error;
    EXPECT_EQ(log().back(), "cbSetGainQueue(0,0)");
}

TEST_F(Analog, GainQueueRefusals)
{
    EXPECT_EQ(call(gw_cbSetGainQueue, 1, {num(0), row({1, 2}), row({1}), num(1)}).error,
              "*** chanArray and gainArray must be the same length");
    // The driver would read numChans entries of each list.
    EXPECT_EQ(call(gw_cbSetGainQueue, 1, {num(0), row({1, 2}), row({0, 0}), num(3)}).error,
              "*** cbSetGainQueue: numChans must not exceed the length of chanArray and gainArray");
    // A 0-by-3 array has three columns but no elements to read.
    EXPECT_EQ(call(gw_cbSetGainQueue, 1, {num(0), matrix(0, 3, {}), row({0, 0, 0}), num(0)}).error,
              "*** cbSetGainQueue: chanArray must be a real double array");
    EXPECT_EQ(call(gw_cbSetGainQueue, 1, {num(0), row({1, NAN}), row({0, 0}), num(2)}).error,
              "*** cbSetGainQueue: chanArray must be a finite number within the 32-bit integer range");
    EXPECT_EQ(call(gw_cbSetGainQueue, 1, {num(0), row({1}), str("a"), num(1)}).error,
              "*** cbSetGainQueue: gainArray must be a real double array");
    EXPECT_TRUE(fake::driver.calls("cbSetGainQueue").empty());
}

TEST_F(Analog, AHandleWithItsTopBitSetTravelsAsANegativeNumberAndComesBackWhole)
{
    const auto handle = static_cast<DaqHandle>(static_cast<int32_t>(0x80001234u));
    fake::driver.new_sample_buffer = [&](int count) {
        fake::driver.buffers[handle].assign(static_cast<size_t>(count), 0);
        return handle;
    };
    const double script_value = call(gw_cbNewSampleBuffer, 1, {num(100.7)}).out(0);
    EXPECT_EQ(script_value, -2147478988.0);  // 0x80001234 read as signed
    EXPECT_EQ(log().front(), "cbNewSampleBuffer(100)");

    const Result r =
        call(gw_cbReadAnalogScan, 3, {num(0), row({0, 0}), num(2), num(1000), num(0), num(script_value)});
    EXPECT_FALSE(r.raised) << r.error;
    EXPECT_EQ(fake::driver.calls("cbReadAnalogScan").front(),
              "cbReadAnalogScan(0,0,0,2,1000,0," + std::to_string(handle) + ",0)");
    EXPECT_EQ(fake::driver.calls("cbWinBufToArray").front(),
              "cbWinBufToArray(" + std::to_string(handle) + ",0,2)");

    // A failed allocation's zero handle reaches the script unchanged.
    fake::driver.new_sample_buffer = [](int) { return DaqHandle{0}; };
    EXPECT_EQ(call(gw_cbNewSampleBuffer, 1, {num(5)}).out(0), 0);
}

TEST_F(Analog, ForegroundScanConvertsEverySampleInBufferOrderIntoOneRow)
{
    const DaqHandle handle = fake::driver.new_sample_buffer(16);
    const Result r = call(gw_cbReadAnalogScan, 3,
                          {num(2), row({0.9, 3.9}), num(6), num(1001), num(1.5), num(double(handle))});
    const auto scans = fake::driver.calls("cbReadAnalogScan");
    EXPECT_EQ(scans, (std::vector<std::string>{"cbReadAnalogScan(2,0,3,6,1001,1," + std::to_string(handle) +
                                               ",0)"}));
    ASSERT_EQ(rows(r.outputs[0]), 1);
    ASSERT_EQ(cols(r.outputs[0]), 6);  // channels interleaved in one row, not 4-by-n
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(value(r.outputs[0], i), static_cast<double>(static_cast<float>(i * 7 / 1000.0 + 1)));
    EXPECT_EQ(r.out(1), 500);  // the rate the driver settled on
    EXPECT_EQ(r.out(2), 0);
    const auto conversions = fake::driver.calls("cbToEngUnits");
    ASSERT_EQ(conversions.size(), 6u);
    EXPECT_EQ(conversions.front(), "cbToEngUnits(2,1,0)");
    EXPECT_EQ(conversions.back(), "cbToEngUnits(2,1,35)");
}

TEST_F(Analog, ALargeScanAsksTheDriverOnceForEachDistinctCount)
{
    // 300,000 samples of i * 7 mod 65536: every count appears, most of them
    // several times; the volts are the driver's all the same.
    constexpr int kSamples = 300000;
    const DaqHandle handle = fake::driver.new_sample_buffer(kSamples);
    int calls = 0;
    fake::driver.to_eng_units = [&](int, int range, unsigned short count, float *volts) {
        ++calls;
        *volts = static_cast<float>(count / 1000.0 + range);
        return 0;
    };
    fake::driver.log.reserve(400);
    const Result r = call(gw_cbReadAnalogScan, 3,
                          {num(0), row({0, 0}), num(kSamples), num(100), num(2), num(double(handle))});
    ASSERT_EQ(cols(r.outputs[0]), kSamples);
    for (int i : {0, 1, 65535, 65536, 65537, kSamples - 1})
        EXPECT_EQ(value(r.outputs[0], i),
                  static_cast<double>(static_cast<float>(((i * 7) & 0xFFFF) / 1000.0 + 2)))
            << i;
    EXPECT_EQ(calls, 65536);
    EXPECT_EQ(r.held_blocks, 0);
}

TEST_F(Analog, TheDriverIsAskedOncePerCountFromSixtyFiveThousandFiveHundredThirtySixSamples)
{
    // One raw count in every sample: below the threshold each sample is
    // asked of the driver, from it on each distinct count once.
    answer_counts();
    for (const auto &[samples, asked] : {std::pair<int, int>{65535, 65535}, {65536, 1}}) {
        const Result r = scan_of(samples, [](int) { return static_cast<unsigned short>(0); });
        ASSERT_EQ(cols(r.outputs[0]), samples);
        EXPECT_EQ(asked_, asked) << samples;
    }
}

TEST_F(Analog, FarLevelsAreAskedCountByCountAndASpanAskedOnceIsNotAskedAgain)
{
    // A large scan asks the span of counts its blocks cover while that stays
    // within a quarter of its samples; a block that would take it further is
    // converted sample by sample, asking only the counts not yet asked.
    answer_counts();

    // Two levels at the ends of the counts: two questions, not 65,536.
    const Result square = scan_of(65536, [](int p) { return static_cast<unsigned short>(p % 2 ? 65535 : 0); });
    EXPECT_EQ(asked_, 2);
    EXPECT_EQ(value(square.outputs[0], 0), volts(0));
    EXPECT_EQ(value(square.outputs[0], 65535), volts(65535));

    // Counts 100 to 1,099 over and over, then a last block that jumps
    // between 500 (asked with the span) and 60,000: 1,001 questions.
    const int last_block = 65536 - daqgate::convert::kBlock;
    const Result mixed = scan_of(65536, [=](int p) {
        return static_cast<unsigned short>(p < last_block ? 100 + p % 1000 : (p % 2 ? 60000 : 500));
    });
    EXPECT_EQ(asked_, 1001);
    for (int i : {0, 999, last_block - 1})
        EXPECT_EQ(value(mixed.outputs[0], i), volts(100 + i % 1000)) << i;
    EXPECT_EQ(value(mixed.outputs[0], last_block), volts(500));
    EXPECT_EQ(value(mixed.outputs[0], 65535), volts(60000));

    // Counts 1,000 to 1,999, then a last block all at 65,000, far above
    // the span and beyond its budget: one question more.
    offset_ = 0.25;
    const Result above = scan_of(65536, [=](int p) {
        return static_cast<unsigned short>(p < last_block ? 1000 + p % 1000 : 65000);
    });
    EXPECT_EQ(asked_, 1001);
    EXPECT_EQ(value(above.outputs[0], last_block - 1), volts(1000 + (last_block - 1) % 1000));
    EXPECT_EQ(value(above.outputs[0], last_block), volts(65000));
}

TEST_F(Analog, CountsJustOutsideTheSpanAreAskedAndNoneWithinItIsAskedAgain)
{
    // Counts 1,000 to 1,999 over and over, with one 999 and one 2,000 in
    // the second block: the span grows by those two, and the blocks after
    // ask nothing.
    answer_counts();
    offset_ = 0.5;
    const int second = daqgate::convert::kBlock;
    const Result r = scan_of(65536, [=](int p) {
        return static_cast<unsigned short>(p == second + 7 ? 999 : p == second + 9 ? 2000 : 1000 + p % 1000);
    });
    EXPECT_EQ(asked_, 1002);
    EXPECT_EQ(value(r.outputs[0], second + 7), volts(999));
    EXPECT_EQ(value(r.outputs[0], second + 9), volts(2000));
    for (int i : {0, second + 8, 65535})
        EXPECT_EQ(value(r.outputs[0], i), volts(1000 + i % 1000)) << i;
}

TEST_F(Analog, ACountTheDriverWillNotConvertReadsZeroVolts)
{
    // The conversion's status is not examined: what a refusing driver
    // leaves unwritten reads 0 V, in a call that asks every sample and in
    // one that asks a span.
    answer_counts();
    fake::driver.to_eng_units = [](int, int, unsigned short, float *) { return 1; };
    for (int samples : {10, 65536}) {
        const Result r = scan_of(samples, [](int p) { return static_cast<unsigned short>(40000 + p % 3); });
        for (int i : {0, 1, 2, samples - 1})
            EXPECT_EQ(value(r.outputs[0], i), 0.0) << samples << " " << i;
    }
}

TEST_F(Analog, WhenTheMarksRunOutTheyStartAgainAndNoCountIsTrustedFromBefore)
{
    // Scans of 65,536 samples of counts from, from + 64, ... from + 999 * 64
    // over and over, too far apart for a span: each sample's count is
    // looked up by its mark.  The driver answers count c with c / 1000 +
    // offset volts.
#ifdef DAQGATE_MEX_SUFFIX
    GTEST_SKIP() << "each module keeps a table of its own, which a gateway loaded from its module "
                    "does not share with this test";
#endif
    using daqgate::convert::kLastMark;
    daqgate::convert::Remembered &table = daqgate::convert::remembered();
    answer_counts();
    const auto scan = [&](int from, double offset) {
        offset_ = offset;
        return scan_of(65536, [from](int p) { return static_cast<unsigned short>(from + p % 1000 * 64); });
    };

    // The marks run out: every entry is cleared and the scan takes mark 1.
    table.last_mark = kLastMark;
    const Result first = scan(0, 1);
    EXPECT_EQ(asked_, 1000);
    EXPECT_EQ(table.last_mark, 1u);
    EXPECT_EQ(value(first.outputs[0], 1007), volts(7 * 64));
    // The last mark, on other counts: the first scan's keep mark 1.
    table.last_mark = kLastMark - 1;
    const Result last = scan(1000, 2);
    EXPECT_EQ(asked_, 1000);
    EXPECT_EQ(table.last_mark, kLastMark);
    EXPECT_EQ(value(last.outputs[0], 65535), volts(1000 + 535 * 64));
    // Mark 1 again, on the first scan's counts: none of its answers is
    // trusted, though they carry the same mark.
    const Result again = scan(0, 3);
    EXPECT_EQ(asked_, 1000);
    EXPECT_EQ(table.last_mark, 1u);
    for (int i : {0, 1007, 65535})
        EXPECT_EQ(value(again.outputs[0], i), volts(i % 1000 * 64)) << i;
}

TEST_F(Analog, ForegroundScanOfNoSamplesIsOneByZeroWithNoConversion)
{
    const DaqHandle handle = fake::driver.new_sample_buffer(4);
    const Result r =
        call(gw_cbReadAnalogScan, 3, {num(0), row({0, 1}), num(0), num(100), num(0), num(double(handle))});
    EXPECT_EQ(rows(r.outputs[0]), 1);
    EXPECT_EQ(cols(r.outputs[0]), 0);
    EXPECT_TRUE(fake::driver.calls("cbToEngUnits").empty());
    EXPECT_EQ(fake::driver.calls("cbReadAnalogScan").size(), 1u);
}

TEST_F(Analog, AFailedScanReadsNoBufferAndGivesAnEmptyRow)
{
    fake::driver.read_analog_scan = [](int, int, int, int, int *, int, DaqHandle, int) { return 12; };
    const Result r =
        call(gw_cbReadAnalogScan, 3, {num(0), row({0, 0}), num(2000000000), num(100), num(0), num(77)});
    EXPECT_EQ(rows(r.outputs[0]), 1);
    EXPECT_EQ(cols(r.outputs[0]), 0);  // no size taken from a count the driver refused
    EXPECT_EQ(r.out(1), 100);          // the rate as the driver left it
    EXPECT_EQ(r.out(2), 12);
    EXPECT_TRUE(fake::driver.calls("cbWinBufToArray").empty());
    EXPECT_TRUE(fake::driver.calls("cbToEngUnits").empty());
}

TEST_F(Analog, ACopyTheDriverRefusesGivesNaNsForThoseSamples)
{
    // The copy of the first block is given, the second's refused.
    using daqgate::convert::kBlock;
    const int samples = kBlock + 904;
    const DaqHandle handle = fake::driver.new_sample_buffer(samples);
    fake::driver.win_buf_to_array = [](DaqHandle, unsigned short *, int first, int) {
        return first == 0 ? 0 : 12;
    };
    const Result r = call(gw_cbReadAnalogScan, 3,
                          {num(0), row({0, 0}), num(samples), num(100), num(0), num(double(handle))});
    EXPECT_FALSE(std::isnan(value(r.outputs[0], kBlock - 1)));
    EXPECT_TRUE(std::isnan(value(r.outputs[0], kBlock)));
    EXPECT_TRUE(std::isnan(value(r.outputs[0], samples - 1)));
    EXPECT_EQ(r.out(2), 0);  // the scan's own status: the refused copy shows in its NaNs
}

TEST_F(Analog, ScanArgumentsTheDriverCannotBeGivenAreRefused)
{
    for (Entry *gw : {gw_cbReadAnalogScan, gw_cbReadAnalogBackgroundScan}) {
        EXPECT_EQ(call(gw, 3, {num(0), num(3), num(4), num(100), num(0), num(1)}).error.substr(0, 4), "*** ");
        EXPECT_NE(call(gw, 3, {num(0), row({3}), num(4), num(100), num(0), num(1)})
                      .error.find("[lowChan, highChan] must be a real double array of at least two elements"),
                  std::string::npos);
        EXPECT_NE(call(gw, 3, {num(0), row({0, 1}), num(-1), num(100), num(0), num(1)})
                      .error.find("must not be negative"),
                  std::string::npos);
        // A sparse pair keeps only its nonzeros: its second element is not there.
        EXPECT_NE(call(gw, 3, {num(0), sparse_row({0, 3}), num(4), num(100), num(0), num(1)})
                      .error.find("[lowChan, highChan] must be a real double array of at least two elements"),
                  std::string::npos);
        EXPECT_NE(call(gw, 3, {num(0), row({0, NAN}), num(4), num(100), num(0), num(1)})
                      .error.find("must be a finite number"),
                  std::string::npos);
    }
    EXPECT_TRUE(log().empty());
    // A column vector pair has its two elements.
    const DaqHandle handle = fake::driver.new_sample_buffer(4);
    EXPECT_FALSE(call(gw_cbReadAnalogScan, 3,
                      {num(0), matrix(2, 1, {1, 2}), num(4), num(10), num(0), num(double(handle))})
                     .raised);
}

TEST_F(Analog, BackgroundStartUsesOptionsThreeAndConvertsNothing)
{
    fake::driver.read_analog_scan = [](int, int, int, int, int *rate, int, DaqHandle, int) {
        *rate = 999;
        return 0;
    };
    const Result r =
        call(gw_cbReadAnalogBackgroundScan, 0, {num(1), row({2, 5}), num(400), num(1000), num(3), num(-5)});
    EXPECT_EQ(log(), (std::vector<std::string>{"cbReadAnalogScan(1,2,5,400,1000,3,-5,3)"}));
    EXPECT_EQ(r.out(0), 999);
    EXPECT_EQ(
        call(gw_cbReadAnalogBackgroundScan, 2, {num(1), row({2, 5}), num(400), num(1000), num(3), num(-5)})
            .out(1),
        0);
}

}  // namespace
