// The background fetch, status and stop gateways against the fake driver:
// every case of the fetch's copy out of the ring, and the mended ones.
#include <cmath>
#include <deque>

#include <gtest/gtest.h>

#include "fake_driver.h"
#include "gateways.h"
#include "host.h"

using namespace testhost;

namespace {

struct Reply {
    short state;
    int count;
    int index;
    int status = 0;
};

class Background : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::driver.reset();
        // A ring of 12 whose position p holds the raw sample p * 10.
        handle_ = fake::driver.new_sample_buffer(12);
        for (int p = 0; p < 12; ++p)
            fake::driver.buffers[handle_][p] = static_cast<unsigned short>(p * 10);
        fake::driver.log.clear();
        fake::driver.get_io_status = [this](int, short *state, int *count, int *index, int) {
            const Reply reply = replies_.empty() ? last_ : replies_.front();
            if (!replies_.empty())
                replies_.pop_front();
            last_ = reply;
            if (reply.status == 0) {
                *state = reply.state;
                *count = reply.count;
                *index = reply.index;
            }
            return reply.status;
        };
    }

    // Fetches with ring 12 and channels 0..channels-1 on range 0; the
    // driver answers the status queries with replies, the last repeated.
    Result fetch(int previous_count, int previous_index, std::deque<Reply> replies, int channels = 3,
                 int ring = 12)
    {
        replies_ = std::move(replies);
        Result r = call(gw_cbFetchBackgroundData, 4,
                        {num(0), num(previous_count), num(previous_index), num(ring),
                         row({0, double(channels - 1)}), num(0), num(double(handle_))});
        EXPECT_FALSE(r.wrote_past_data);
        return r;
    }

    // The raw samples a result holds, column after column (the fake
    // converts count c to c / 1000 volts on range 0).
    static std::vector<int> raw(const Result &r)
    {
        std::vector<int> out;
        for (int i = 0; i < rows(r.outputs[0]) * cols(r.outputs[0]); ++i)
            out.push_back(static_cast<int>(std::lround(value(r.outputs[0], i) * 1000)));
        return out;
    }

    static std::vector<double> position(const Result &r) { return {r.out(1), r.out(2), r.out(3)}; }

    DaqHandle handle_ = 0;
    std::deque<Reply> replies_;
    Reply last_{0, 0, 0};
};

TEST_F(Background, UsageTexts)
{
    EXPECT_EQ(call(gw_cbFetchBackgroundData, 1, {num(0)}).error,
              "*** Usage: cbFetchBackgroundData(boardNum, previousCount, previousIndex, bufferSize, "
              "[lowChan,highChan], vrange, memHandle");
    EXPECT_EQ(call(gw_cbQueryScanState, 1, {num(0)}).error,
              "*** Usage: cbQueryScanState(boardNum, functionType)");
    EXPECT_EQ(call(gw_cbHaltBackground, 1, {num(0), num(1), num(2)}).error,
              "*** Usage: cbHaltBackground(boardNum, functionType).");
    EXPECT_TRUE(fake::driver.log.empty());
}

TEST_F(Background, ChannelsPerScanCountFromLowChan)
{
    // Channels 5 to 7: three a scan, whatever the first.
    replies_ = {{1, 9, 9}};
    const Result r = call(gw_cbFetchBackgroundData, 4,
                          {num(0), num(0), num(0), num(12), row({5, 7}), num(0), num(double(handle_))});
    ASSERT_FALSE(r.raised) << r.error;
    EXPECT_EQ(rows(r.outputs[0]), 3);
    EXPECT_EQ(cols(r.outputs[0]), 3);
    EXPECT_EQ(raw(r), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80}));
}

TEST_F(Background, ContiguousWholeScansChannelsByScans)
{
    const Result r = fetch(0, 0, {{1, 9, 9}});
    ASSERT_FALSE(r.raised) << r.error;
    EXPECT_EQ(rows(r.outputs[0]), 3);
    EXPECT_EQ(cols(r.outputs[0]), 3);
    EXPECT_EQ(raw(r), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80}));  // row r is channel r
    EXPECT_EQ(position(r), (std::vector<double>{1, 9, 9}));
    EXPECT_EQ(fake::driver.calls("cbGetIOStatus").front(), "cbGetIOStatus(0,1)");
    EXPECT_EQ(fake::driver.calls("cbWinBufToArray"),
              (std::vector<std::string>{"cbWinBufToArray(" + std::to_string(handle_) + ",0,9)"}));
    EXPECT_EQ(fake::driver.calls("cbToEngUnits").size(), 9u);
    EXPECT_EQ(r.held_blocks, 0);
}

TEST_F(Background, ATrailingPartOfAScanWaitsForTheNextFetch)
{
    // Three channels, ten new samples: three whole scans; the tenth sample
    // is neither dropped nor skipped: the position stops before it.
    const Result first = fetch(0, 0, {{1, 10, 10}});
    EXPECT_EQ(cols(first.outputs[0]), 3);
    EXPECT_EQ(position(first), (std::vector<double>{1, 9, 9}));
    const Result next = fetch(9, 9, {{1, 12, 0}});
    EXPECT_EQ(raw(next), (std::vector<int>{90, 100, 110}));  // starts at a scan boundary
    EXPECT_EQ(position(next), (std::vector<double>{1, 12, 0}));
}

TEST_F(Background, WrappedWithIndexZeroIsOneCopy)
{
    const Result r = fetch(6, 6, {{1, 12, 0}});
    EXPECT_EQ(raw(r), (std::vector<int>{60, 70, 80, 90, 100, 110}));
    EXPECT_EQ(fake::driver.calls("cbWinBufToArray").size(), 1u);
    EXPECT_EQ(position(r), (std::vector<double>{1, 12, 0}));
}

TEST_F(Background, WrappedWithIndexAboveZeroIsTwoCopies)
{
    const Result r = fetch(9, 9, {{1, 15, 3}});
    EXPECT_EQ(raw(r), (std::vector<int>{90, 100, 110, 0, 10, 20}));
    EXPECT_EQ(fake::driver.calls("cbWinBufToArray"),
              (std::vector<std::string>{"cbWinBufToArray(" + std::to_string(handle_) + ",9,3)",
                                        "cbWinBufToArray(" + std::to_string(handle_) + ",0,3)"}));
    EXPECT_EQ(position(r), (std::vector<double>{1, 15, 3}));
}

TEST_F(Background, ALargeFetchAcrossTheWrapAsksEachCountOnceAndEveryFetchAsksAfresh)
{
    // A ring of 100,000 holding p mod 1000 at p: a fetch of 90,000 samples
    // from position 50,000 comes in two pieces of fewer than 65,536 each,
    // yet is one conversion of 90,000 samples, so each of the 1,000 counts
    // is asked once.  The next fetch trusts nothing it remembered: its
    // driver now answers otherwise, and its samples say so.
    constexpr int kRing = 100000;
    handle_ = fake::driver.new_sample_buffer(kRing);
    for (int p = 0; p < kRing; ++p)
        fake::driver.buffers[handle_][p] = static_cast<unsigned short>(p % 1000);
    int asked = 0;
    double per_count = 0.001;
    fake::driver.to_eng_units = [&](int, int, unsigned short count, float *volts) {
        ++asked;
        *volts = static_cast<float>(count * per_count);
        return 0;
    };
    fake::driver.log.reserve(100);
    const auto fetch_large = [&] {
        replies_ = {{1, 140000, 40000}};
        Result r = call(gw_cbFetchBackgroundData, 4,
                        {num(0), num(50000), num(50000), num(kRing), row({0, 0}), num(0), num(double(handle_))});
        EXPECT_FALSE(r.wrote_past_data);
        return r;
    };
    const Result first = fetch_large();
    ASSERT_FALSE(first.raised) << first.error;
    ASSERT_EQ(cols(first.outputs[0]), 90000);
    EXPECT_EQ(asked, 1000);
    EXPECT_EQ(value(first.outputs[0], 0), static_cast<double>(static_cast<float>(0)));
    EXPECT_EQ(value(first.outputs[0], 49999), static_cast<double>(static_cast<float>(999 * 0.001)));
    EXPECT_EQ(value(first.outputs[0], 50007), static_cast<double>(static_cast<float>(7 * 0.001)));

    asked = 0;
    per_count = 0.002;
    const Result next = fetch_large();
    EXPECT_EQ(asked, 1000);
    EXPECT_EQ(value(next.outputs[0], 50007), static_cast<double>(static_cast<float>(7 * 0.002)));
}

TEST_F(Background, NoNewSamplesIsChannelsByZero)
{
    const Result r = fetch(24, 0, {{1, 24, 0}});
    EXPECT_EQ(rows(r.outputs[0]), 3);
    EXPECT_EQ(cols(r.outputs[0]), 0);
    EXPECT_TRUE(fake::driver.calls("cbWinBufToArray").empty());
    EXPECT_TRUE(r.mallocs.empty());
    EXPECT_EQ(position(r), (std::vector<double>{1, 24, 0}));
}

TEST_F(Background, ExactlyOneRingIsNoOverflowAndOneMoreIs)
{
    const Result whole = fetch(4, 4, {{1, 16, 4}}, 2);
    ASSERT_FALSE(whole.raised) << whole.error;
    EXPECT_EQ(raw(whole), (std::vector<int>{40, 50, 60, 70, 80, 90, 100, 110, 0, 10, 20, 30}));
    EXPECT_EQ(rows(whole.outputs[0]), 2);
    EXPECT_EQ(position(whole), (std::vector<double>{1, 16, 4}));

    fake::driver.log.clear();
    const Result over = fetch(4, 4, {{1, 17, 5}}, 2);
    EXPECT_EQ(over.error, "*** Buffer overflow!!!");
    EXPECT_EQ(fake::driver.calls("cbStopIOBackground"),
              (std::vector<std::string>{"cbStopIOBackground(0,1)"}));
    EXPECT_TRUE(fake::driver.calls("cbWinBufToArray").empty());
    EXPECT_EQ(over.outputs[0], nullptr);
}

TEST_F(Background, OverrunDuringTheCopyStopsTheScanInsteadOfReturningOverwrittenSamples)
{
    // Nine arrived before the copy; by its end four more came, so the
    // oldest copied sample (count 0, position 0) was overwritten.
    const Result r = fetch(0, 0, {{1, 9, 9}, {1, 13, 1}});
    EXPECT_EQ(r.error, "*** Buffer overflow!!!");
    EXPECT_EQ(fake::driver.calls("cbStopIOBackground").size(), 1u);
    // Exactly a ring's worth since the previous position is still sound.
    fake::driver.log.clear();
    const Result sound = fetch(0, 0, {{1, 9, 9}, {1, 12, 0}});
    EXPECT_FALSE(sound.raised) << sound.error;
    EXPECT_TRUE(fake::driver.calls("cbStopIOBackground").empty());
}

TEST_F(Background, AFailedQueryAfterTheCopyIsAskedAgainAndNeverVouchesForTheSamples)
{
    // The second query fails once, then tells of an overrun: no samples.
    const Result over = fetch(0, 0, {{1, 9, 9}, {0, 0, 0, 5}, {1, 13, 1}});
    EXPECT_EQ(over.error, "*** Buffer overflow!!!");
    EXPECT_EQ(fake::driver.calls("cbGetIOStatus").size(), 3u);
    EXPECT_EQ(fake::driver.calls("cbStopIOBackground").size(), 1u);

    // Fails twice, then tells that the copy was sound: the samples.
    fake::driver.log.clear();
    const Result sound = fetch(0, 0, {{1, 9, 9}, {0, 0, 0, 5}, {0, 0, 0, 7}, {1, 12, 0}});
    ASSERT_FALSE(sound.raised) << sound.error;
    EXPECT_EQ(raw(sound), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80}));
    EXPECT_EQ(position(sound), (std::vector<double>{1, 9, 9}));
    EXPECT_EQ(fake::driver.calls("cbGetIOStatus").size(), 4u);

    // Never answers: nothing is returned, the scan is left running.
    fake::driver.log.clear();
    const Result unknown = fetch(0, 0, {{1, 9, 9}, {0, 0, 0, 5}});
    EXPECT_EQ(unknown.error,
              "*** cbFetchBackgroundData: the driver's status could not be read after the copy, so the "
              "samples may have been overwritten: fetch again from the same previousCount and previousIndex");
    EXPECT_EQ(fake::driver.calls("cbGetIOStatus").size(), 4u);
    EXPECT_TRUE(fake::driver.calls("cbStopIOBackground").empty());
}

TEST_F(Background, AStoppedScanGivesZeroByZeroAndItsPosition)
{
    const Result r = fetch(3, 3, {{0, 9, 9}});
    EXPECT_EQ(rows(r.outputs[0]), 0);
    EXPECT_EQ(cols(r.outputs[0]), 0);
    EXPECT_EQ(position(r), (std::vector<double>{0, 9, 9}));
    EXPECT_TRUE(fake::driver.calls("cbWinBufToArray").empty());
}

TEST_F(Background, ANegativeIndexCopiesNothingAndKeepsThePosition)
{
    const Result r = fetch(3, 3, {{1, 9, -1}});
    EXPECT_EQ(rows(r.outputs[0]), 0);
    EXPECT_EQ(position(r), (std::vector<double>{1, 3, 3}));
    EXPECT_TRUE(fake::driver.calls("cbWinBufToArray").empty());
}

TEST_F(Background, AFailedStatusQueryKeepsThePosition)
{
    const Result r = fetch(6, 6, {{1, 9, 9, 16}});
    EXPECT_EQ(rows(r.outputs[0]), 0);
    EXPECT_EQ(position(r), (std::vector<double>{0, 6, 6}));
}

TEST_F(Background, CountsWrapAroundThirtyTwoBits)
{
    // The count passes 2^31 - 1 and goes on from -2^31: six new samples.
    const Result r = fetch(2147483646, 6, {{1, -2147483644, 0}});
    ASSERT_FALSE(r.raised) << r.error;
    EXPECT_EQ(raw(r), (std::vector<int>{60, 70, 80, 90, 100, 110}));
    EXPECT_EQ(position(r), (std::vector<double>{1, -2147483644, 0}));
}

TEST_F(Background, ARingOfOneSampleIsTheSmallest)
{
    // One channel, a scan a fetch.
    const Result smallest = fetch(4, 0, {{1, 5, 0}}, 1, 1);
    ASSERT_FALSE(smallest.raised) << smallest.error;
    EXPECT_EQ(raw(smallest), (std::vector<int>{0}));
    EXPECT_EQ(position(smallest), (std::vector<double>{1, 5, 0}));
}

TEST_F(Background, ArgumentsThatWouldLeaveTheRingAreRefused)
{
    EXPECT_EQ(
        call(gw_cbFetchBackgroundData, 4, {num(0), num(0), num(0), num(12), row({2, 1}), num(0), num(1)})
            .error,
        "*** cbFetchBackgroundData: [lowChan,highChan] must not have highChan below lowChan");
    EXPECT_EQ(fetch(0, 12, {{1, 1, 1}}).error,
              "*** cbFetchBackgroundData: previousIndex must lie within 0 to bufferSize - 1");
    EXPECT_EQ(fetch(0, -1, {{1, 1, 1}}).error,
              "*** cbFetchBackgroundData: previousIndex must lie within 0 to bufferSize - 1");
    EXPECT_EQ(fetch(0, 0, {{1, 1, 1}}, 3, 0).error,
              "*** cbFetchBackgroundData: bufferSize must be at least 1");
    EXPECT_EQ(fetch(0, 0, {{1, 1, 1}}, 3, 0).outputs[0], nullptr);
    // A count from an earlier scan, ahead of this one's.
    EXPECT_EQ(fetch(30, 6, {{1, 9, 9}}).error,
              "*** cbFetchBackgroundData: previousCount is ahead of the scan's count: pass the count and "
              "index the previous fetch of this scan returned");
    // Count and index that do not agree: 3 new samples cannot end at 11.
    EXPECT_EQ(fetch(6, 6, {{1, 9, 11}}).error,
              "*** cbFetchBackgroundData: previousIndex does not match the scan's count and index: pass the "
              "count and index the previous fetch of this scan returned");
    EXPECT_TRUE(fake::driver.calls("cbWinBufToArray").empty());
}

TEST_F(Background, ACopyTheDriverRefusesIsAnError)
{
    fake::driver.win_buf_to_array = [](DaqHandle, unsigned short *, int, int) { return 14; };
    EXPECT_EQ(fetch(0, 0, {{1, 3, 3}}).error,
              "*** cbFetchBackgroundData: the driver could not copy the samples: memHandle and bufferSize "
              "must name the scan's buffer");
}

TEST_F(Background, QueryReturnsTheDriversValuesSignedAndPassesTheFunctionType)
{
    replies_ = {{-1, 123456, 789}};
    const Result r = call(gw_cbQueryScanState, 0, {num(2), num(7.8)});
    EXPECT_EQ(r.outputs.size(), 1u);
    EXPECT_EQ(r.out(0), -1);
    EXPECT_EQ(fake::driver.log, (std::vector<std::string>{"cbGetIOStatus(2,7)"}));
    replies_ = {{1, 123456, 789}};
    const Result all = call(gw_cbQueryScanState, 4, {num(2), num(1)});
    EXPECT_EQ((std::vector<double>{all.out(0), all.out(1), all.out(2), all.out(3)}),
              (std::vector<double>{1, 123456, 789, 0}));
    // A failed query writes nothing: zeros and its status.
    replies_ = {{1, 5, 5, 16}};
    const Result failed = call(gw_cbQueryScanState, 4, {num(2), num(1)});
    EXPECT_EQ((std::vector<double>{failed.out(0), failed.out(1), failed.out(2), failed.out(3)}),
              (std::vector<double>{0, 0, 0, 16}));
}

TEST_F(Background, HaltPassesTheFunctionTypeAndReturnsTheStatus)
{
    fake::driver.stop_io_background = [](int, int function) { return function == 1 ? 0 : 16; };
    EXPECT_EQ(call(gw_cbHaltBackground, 0, {num(3), num(1)}).out(0), 0);
    EXPECT_EQ(call(gw_cbHaltBackground, 0, {num(3), num(2)}).out(0), 16);
    EXPECT_EQ(fake::driver.log,
              (std::vector<std::string>{"cbStopIOBackground(3,1)", "cbStopIOBackground(3,2)"}));
}

}  // namespace
