// The rig as a test bench, met through the driver's C interface: faults
// armed in the rig strike the calls they match and nothing else, latency
// slows one board's calls, recordings play on the inputs.
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "cbw32.h"
#include "rig.h"
#include "rig_environment.h"

using namespace daqgate::sim;

namespace {

std::string rig_path;
const auto *const environment =
    ::testing::AddGlobalTestEnvironment(new RigEnvironment("daqgate-bench-test", &rig_path));

// The rig as simboard sees it, beside the driver's own attachment.
class Faults : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsigned short value = 0;
        ASSERT_EQ(cbReadPort(0, 0, &value), 0);  // the driver makes the rig
        ASSERT_EQ(rig.open(rig_path), kNoError);
        rig.reset();
    }
    FaultSpec spec(int board, Operation operation, int status) const
    {
        FaultSpec fault;
        fault.board = board;
        fault.operation = operation;
        fault.status = status;
        return fault;
    }
    FaultSpec on_port(FaultSpec fault, int port) const
    {
        fault.target = Target::port;
        fault.which = port;
        return fault;
    }
    FaultSpec on_channel(FaultSpec fault, int channel) const
    {
        fault.target = Target::channel;
        fault.which = channel;
        return fault;
    }
    int read(int board, int port, unsigned short *value = nullptr)
    {
        unsigned short ignored = 0;
        return cbReadPort(board, port, value != nullptr ? value : &ignored);
    }
    FaultView view(int slot)
    {
        FaultView fault;
        EXPECT_TRUE(rig.fault(slot, &fault)) << slot;
        return fault;
    }
    Rig rig;
};

TEST_F(Faults, AFaultStrikesItsOperationOnItsBoardAndPortAndLeavesTheWordAlone)
{
    ASSERT_EQ(rig.arm_fault(on_port(spec(0, Operation::read_port, 7), 11)), kNoError);
    unsigned short value = 0x5555;
    EXPECT_EQ(read(0, 11, &value), 7);
    EXPECT_EQ(value, 0x5555);
    EXPECT_EQ(read(0, 10), 0);
    EXPECT_EQ(read(1, 11), 0);
    EXPECT_EQ(cbSetPortDirection(0, 11, CB_DIGITAL_OUT), 0);
    EXPECT_EQ(cbWritePort(0, 11, 3), 0);  // another operation on the port
    EXPECT_EQ(read(0, 11, &value), 7);
    EXPECT_EQ(view(0).seen, 2);
    EXPECT_EQ(view(0).struck, 2);
    EXPECT_FALSE(view(0).spent);
}

TEST_F(Faults, AfterLetsCallsPassAndTimesDisarms)
{
    FaultSpec fault = on_port(spec(0, Operation::read_port, 7), 11);
    fault.after = 2;
    fault.times = 2;
    ASSERT_EQ(rig.arm_fault(fault), kNoError);
    std::vector<int> statuses;
    for (int call = 0; call < 6; ++call)
        statuses.push_back(read(0, 11));
    EXPECT_EQ(statuses, (std::vector<int>{0, 0, 7, 7, 0, 0}));
    const FaultView spent = view(0);
    EXPECT_TRUE(spent.spent);
    EXPECT_EQ(spent.seen, 4);  // a spent fault counts no more calls
    EXPECT_EQ(spent.struck, 2);
}

TEST_F(Faults, EveryMatchingFaultCountsACallAndTheFirstArmedStrikes)
{
    FaultSpec first = spec(2, Operation::write_analog, 5);
    first.after = 1;
    ASSERT_EQ(rig.arm_fault(first), kNoError);
    ASSERT_EQ(rig.arm_fault(on_channel(spec(2, Operation::write_analog, 6), 1)), kNoError);
    EXPECT_EQ(cbWriteAnalog(2, 1, 0, 100), 6);  // the first lets this one pass
    EXPECT_EQ(cbWriteAnalog(2, 1, 0, 100), 5);  // both are due: the first armed
    EXPECT_EQ(cbWriteAnalog(2, 0, 0, 100), 5);  // channel 0: the first alone
    EXPECT_EQ(view(0).seen, 3);
    EXPECT_EQ(view(1).seen, 2);
}

TEST_F(Faults, AFaultWithNoStrikeLeftGivesWayToTheNext)
{
    FaultSpec once = spec(1, Operation::board_label, 11);
    once.times = 1;
    ASSERT_EQ(rig.arm_fault(once), kNoError);
    ASSERT_EQ(rig.arm_fault(spec(1, Operation::board_label, 12)), kNoError);
    char name[CB_BOARDNAMELEN] = "untouched";
    EXPECT_EQ(cbBoardLabel(1, name), 11);
    EXPECT_EQ(cbBoardLabel(1, name), 12);
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(rig.clear_faults(1), 2);
    FaultView cleared;
    EXPECT_FALSE(rig.fault(0, &cleared));  // a free slot shows nothing
    EXPECT_FALSE(rig.fault(1, &cleared));
    EXPECT_FALSE(rig.fault(kFaults, &cleared));
    EXPECT_EQ(cbBoardLabel(1, name), 0);
    EXPECT_STREQ(name, "daqgate simulated board 1");
}

TEST_F(Faults, ClearingABoardLeavesTheOthersAndItsSlotsServeAgain)
{
    for (int i = 0; i < kFaults; ++i)
        ASSERT_EQ(rig.arm_fault(spec(i % 2, Operation::read_port, 100 + i)), kNoError) << i;
    EXPECT_EQ(rig.arm_fault(spec(0, Operation::read_port, 1)), kRigFull);
    EXPECT_EQ(read(0, 3), 100);
    EXPECT_EQ(read(1, 3), 101);
    EXPECT_EQ(rig.clear_faults(0), kFaults / 2);
    EXPECT_EQ(read(0, 3), 0);
    EXPECT_EQ(read(1, 3), 101);
    ASSERT_EQ(rig.arm_fault(spec(3, Operation::read_port, 9)), kNoError);
    EXPECT_EQ(read(3, 3), 9);
    EXPECT_EQ(rig.clear_faults(-1), kFaults / 2 + 1);
    EXPECT_EQ(read(1, 3), 0);
    EXPECT_EQ(read(3, 3), 0);
    EXPECT_EQ(rig.arm_fault(FaultSpec{kBoards, Operation::read_port, 1}), kBadBoard);
}

#ifndef _WIN32
// The rig's lock held by hand, as the POSIX rig file takes it (flock).
TEST_F(Faults, AClearThatCannotHaveTheRigsLockClearsNothingAndSaysSo)
{
    // simboard's 'fault clear' reports a locked rig from the -1.
    ASSERT_EQ(rig.arm_fault(spec(1, Operation::read_port, 7)), kNoError);
    const int holder = ::open(rig_path.c_str(), O_RDWR);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_EQ(rig.clear_faults(-1), -1);
    close(holder);
    EXPECT_EQ(read(1, 3), 7);
    EXPECT_EQ(rig.clear_faults(-1), 1);
}
#endif

TEST_F(Faults, AStruckCallLeavesEveryOutArgumentAndTheBoardAsTheyWere)
{
    const int kStatus = 99;
    std::size_t count = 0;
    const OperationInfo *all = operations(&count);
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_EQ(rig.arm_fault(spec(1, all[i].operation, kStatus)), kNoError) << all[i].name;
    unsigned short word = 0x1234;
    float volts = 42.5f;
    char name[CB_BOARDNAMELEN] = "untouched";
    int rate = 1000;
    short state = 7;
    int scans = 8, index = 9;
    const short channels[] = {0, 1}, ranges[] = {0, 0};
    const DaqHandle handle = cbNewSampleBuffer(100);
    EXPECT_EQ(cbSetPortDirection(1, 4, CB_DIGITAL_OUT), kStatus);
    EXPECT_EQ(cbWritePort(1, 4, 0xFFFF), kStatus);
    EXPECT_EQ(cbReadPort(1, 4, &word), kStatus);
    EXPECT_EQ(cbReadAnalog(1, 0, 0, &word), kStatus);
    EXPECT_EQ(cbWriteAnalog(1, 0, 0, 65535), kStatus);
    EXPECT_EQ(cbToEngUnits(1, 0, 65535, &volts), kStatus);
    EXPECT_EQ(cbFromEngUnits(1, 0, 5.0f, &word), kStatus);
    EXPECT_EQ(cbBoardLabel(1, name), kStatus);
    EXPECT_EQ(cbSetGainQueue(1, channels, ranges, 2), kStatus);
    EXPECT_EQ(cbReadAnalogScan(1, 0, 1, 100, &rate, 0, handle, CB_BACKGROUND), kStatus);
    EXPECT_EQ(cbGetIOStatus(1, &state, &scans, &index, CB_AIFUNCTION), kStatus);
    EXPECT_EQ(cbStopIOBackground(1, CB_AIFUNCTION), kStatus);
    EXPECT_EQ(word, 0x1234);
    EXPECT_EQ(volts, 42.5f);
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(rate, 1000);
    EXPECT_EQ(state, 7);
    EXPECT_EQ(scans, 8);
    EXPECT_EQ(index, 9);
    // Nothing reached the board: no direction, no value, no output, no
    // queue, no scan.
    rig.clear_faults(1);
    EXPECT_EQ(rig.direction_of(PortId{1, 4}), kInput);
    double output = -1;
    ASSERT_EQ(rig.output_volts(1, 0, &output), kNoError);
    EXPECT_EQ(output, 0.0);
    short queued[kQueueLength], queued_ranges[kQueueLength];
    int entries = -1;
    ASSERT_EQ(rig.gain_queue(1, queued, queued_ranges, &entries), kNoError);
    EXPECT_EQ(entries, 0);
    ASSERT_EQ(cbGetIOStatus(1, &state, &scans, &index, CB_AIFUNCTION), 0);
    EXPECT_EQ(state, 0);
}

TEST_F(Faults, ChannelFaultsMatchTheChannelsACallNames)
{
    ASSERT_EQ(rig.arm_fault(on_channel(spec(0, Operation::read_analog_scan, 21), 5)), kNoError);
    ASSERT_EQ(rig.arm_fault(on_channel(spec(0, Operation::set_gain_queue, 22), 5)), kNoError);
    ASSERT_EQ(rig.arm_fault(on_channel(spec(0, Operation::read_analog, 23), 5)), kNoError);
    const DaqHandle handle = cbNewSampleBuffer(16);
    int rate = 1000;
    EXPECT_EQ(cbReadAnalogScan(0, 0, 4, 5, &rate, 0, handle, CB_FOREGROUND), 0);
    EXPECT_EQ(cbReadAnalogScan(0, 4, 6, 3, &rate, 0, handle, CB_FOREGROUND), 21);
    EXPECT_EQ(cbReadAnalogScan(0, 5, 5, 1, &rate, 0, handle, CB_FOREGROUND), 21);
    const short ranges[] = {0, 0, 0};
    const short without[] = {1, 2, 3}, with[] = {1, 5, 3};
    EXPECT_EQ(cbSetGainQueue(0, without, ranges, 3), 0);
    EXPECT_EQ(cbSetGainQueue(0, with, ranges, 3), 22);
    EXPECT_EQ(cbSetGainQueue(0, with, ranges, 1), 0);  // only the entries given count
    // A queue longer than the board takes names no channel: the driver's
    // own refusal comes back, and the list is not read past the board's
    // length to find one.
    short longer[kQueueLength + 1] = {}, their_ranges[kQueueLength + 1] = {};
    longer[kQueueLength] = 5;
    EXPECT_EQ(cbSetGainQueue(0, longer, their_ranges, kQueueLength + 1), kBadCount);
    EXPECT_EQ(cbSetGainQueue(0, with, ranges, -1), kBadCount);
    EXPECT_EQ(cbSetGainQueue(kBoards, with, ranges, 3), kBadBoard);
    unsigned short word = 0;
    EXPECT_EQ(cbReadAnalog(0, 4, 0, &word), 0);
    EXPECT_EQ(cbReadAnalog(0, 5, 0, &word), 23);
}

TEST_F(Faults, ABoardWithLatencyTakesAtLeastItForEveryCallAndNoOtherBoardDoes)
{
    ASSERT_EQ(rig.set_latency(2, 1000), kNoError);
    ASSERT_EQ(rig.set_latency(3, kMaxLatencyMicros), kNoError);
    EXPECT_EQ(rig.latency(2), 1000u);
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(read(2, 0), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
    // A call on board 3 takes a second: twenty calls on the other boards
    // that paid it would take twenty seconds, never half of that.
    start = Clock::now();
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(read(0, 0), 0);
        ASSERT_EQ(read(1, 0), 0);
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    // The conversions are the driver's arithmetic: no board paces them,
    // however many samples a fetch converts.  Faults still reach them.
    start = Clock::now();
    float volts = 0;
    unsigned short count = 0;
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(cbToEngUnits(3, 0, 32768, &volts), 0);
        ASSERT_EQ(cbFromEngUnits(3, 0, 1.0f, &count), 0);
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(volts, 0.0f);
    ASSERT_EQ(rig.arm_fault(spec(3, Operation::to_eng_units, 3)), kNoError);
    EXPECT_EQ(cbToEngUnits(3, 0, 32768, &volts), 3);
    EXPECT_EQ(rig.set_latency(2, kMaxLatencyMicros + 1), kNoError);
    EXPECT_EQ(rig.latency(2), kMaxLatencyMicros);  // never longer than a second
    rig.reset();
    EXPECT_EQ(rig.latency(2), 0u);
    EXPECT_EQ(rig.latency(3), 0u);
}

TEST_F(Faults, LatencyAndFaultsShareTheBoardsWordWithoutDisturbingEachOther)
{
    ASSERT_EQ(rig.set_latency(1, 250), kNoError);
    ASSERT_EQ(rig.arm_fault(spec(1, Operation::read_port, 4)), kNoError);
    EXPECT_EQ(rig.latency(1), 250u);
    EXPECT_EQ(read(1, 0), 4);
    ASSERT_EQ(rig.set_latency(1, 0), kNoError);
    EXPECT_EQ(read(1, 0), 4);
    EXPECT_EQ(rig.clear_faults(1), 1);
    EXPECT_EQ(rig.latency(1), 0u);
    EXPECT_EQ(read(1, 0), 0);
}

// The change count of the latch that drives what a port shows, as a
// capture reads it; false when nothing drives the port.
bool changes_of(const Rig &rig, PortId id, uint32_t *count)
{
    uint16_t value = 0;
    int source = -1;
    if (rig.shown(id, &value, &source) != kNoError || source < 0)
        return false;
    *count = rig.changes_at(source);
    return true;
}

TEST_F(Faults, APortCountsTheChangesOfItsLatchNotItsWrites)
{
    ASSERT_EQ(cbSetPortDirection(0, 7, CB_DIGITAL_OUT), 0);
    uint32_t before = 0, after = 0, seen_across = 0;
    ASSERT_TRUE(changes_of(rig, PortId{0, 7}, &before));
    for (unsigned short value : {1, 1, 2, 2, 2, 2, 0})
        ASSERT_EQ(cbWritePort(0, 7, value), 0);
    ASSERT_TRUE(changes_of(rig, PortId{0, 7}, &after));
    EXPECT_EQ(after - before, 3u);
    // The input at the other end of the wire counts its driver's changes.
    ASSERT_TRUE(changes_of(rig, PortId{1, 7}, &seen_across));
    EXPECT_EQ(seen_across, after);
    EXPECT_FALSE(changes_of(rig, PortId{1, 8}, &seen_across));  // nothing drives it
}

// A ramp of one millivolt a value, from -5 V.
std::vector<float> ramp(int count)
{
    std::vector<float> volts;
    for (int i = 0; i < count; ++i)
        volts.push_back(static_cast<float>(-5.0 + 0.001 * i));
    return volts;
}

uint16_t counts_of(double volts)
{
    return static_cast<uint16_t>(std::lround((volts + 10.0) * 65536.0 / 20.0));
}

// Where in the ramp a run of samples lies: the index of the first, -1 if
// they are not consecutive values of it within one count.
int place_in_ramp(const std::vector<uint16_t> &samples, const std::vector<float> &volts, bool wraps)
{
    const int count = static_cast<int>(volts.size());
    for (int first = 0; first < count; ++first) {
        bool fits = true;
        for (std::size_t k = 0; k < samples.size() && fits; ++k) {
            int i = first + static_cast<int>(k);
            i = wraps ? i % count : std::min(i, count - 1);
            fits = std::abs(static_cast<int>(samples[k]) - static_cast<int>(counts_of(volts[i]))) <= 1;
        }
        if (fits)
            return first;
    }
    return -1;
}

TEST_F(Faults, AForegroundScanOfAPlayedRampIsARunOfItsValues)
{
    const std::vector<float> volts = ramp(5000);
    ASSERT_EQ(rig.play(0, 3, volts.data(), 5000, 2000.0, false, "ramp.txt"), kNoError);
    Signal playing;
    ASSERT_EQ(rig.signal(0, 3, &playing), kNoError);
    EXPECT_EQ(playing.kind, SignalKind::file);
    EXPECT_EQ(playing.count, 5000);
    char name[80];
    rig.recording_name(playing.recording, name, sizeof name);
    EXPECT_STREQ(name, "ramp.txt");
    const DaqHandle handle = cbNewSampleBuffer(200);
    int rate = 2000;
    ASSERT_EQ(cbReadAnalogScan(0, 3, 3, 200, &rate, 0, handle, CB_FOREGROUND), 0);
    std::vector<uint16_t> samples(200);
    ASSERT_EQ(cbWinBufToArray(handle, samples.data(), 0, 200), 0);
    EXPECT_GE(place_in_ramp(samples, volts, false), 0);
}

TEST_F(Faults, ARecordingHoldsItsLastValueOrLoops)
{
    const std::vector<float> volts = ramp(40);
    ASSERT_EQ(rig.play(0, 4, volts.data(), 40, 20000.0, false, "held"), kNoError);
    ASSERT_EQ(rig.play(0, 5, volts.data(), 40, 20000.0, true, "looped"), kNoError);
    // Past the end of both, which last two milliseconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const DaqHandle handle = cbNewSampleBuffer(200);
    int rate = 20000;
    ASSERT_EQ(cbReadAnalogScan(0, 4, 5, 200, &rate, 0, handle, CB_FOREGROUND), 0);
    std::vector<uint16_t> both(200), held, looped;
    ASSERT_EQ(cbWinBufToArray(handle, both.data(), 0, 200), 0);
    for (std::size_t i = 0; i < both.size(); i += 2) {
        held.push_back(both[i]);
        looped.push_back(both[i + 1]);
    }
    for (uint16_t sample : held)
        EXPECT_NEAR(sample, counts_of(volts.back()), 1);
    EXPECT_GE(place_in_ramp(looped, volts, true), 0);
    // A point read plays the file too.
    unsigned short word = 0;
    ASSERT_EQ(cbReadAnalog(0, 4, 0, &word), 0);
    EXPECT_NEAR(word, counts_of(volts.back()), 1);
}

TEST_F(Faults, TheRigHoldsItsRecordingsAndGivesBackThoseNoLongerPlayed)
{
    const std::vector<float> volts = ramp(10);
    for (int channel = 0; channel < kRecordings; ++channel)
        ASSERT_EQ(rig.play(1, channel, volts.data(), 10, 1000.0, false, "r"), kNoError) << channel;
    EXPECT_EQ(rig.play(1, kRecordings, volts.data(), 10, 1000.0, false, "r"), kRigFull);
    ASSERT_EQ(rig.play(1, 0, volts.data(), 10, 500.0, true, "again"), kNoError);  // its own, anew
    ASSERT_EQ(rig.set_signal(1, 1, Signal{SignalKind::dc, 1.0, 0, 0}), kNoError);
    EXPECT_EQ(rig.play(1, kRecordings, volts.data(), 10, 1000.0, false, "r"), kNoError);
    EXPECT_EQ(rig.play(1, 9, volts.data(), 0, 1000.0, false, "r"), kBadCount);
    EXPECT_EQ(rig.play(1, 9, volts.data(), kRecordingValues + 1, 1000.0, false, "r"), kBadCount);
    EXPECT_EQ(rig.play(1, 9, volts.data(), 10, 0.0, false, "r"), kBadRate);
    EXPECT_EQ(rig.play(1, kAnalogInputs, volts.data(), 10, 1000.0, false, "r"), kBadChannel);
    rig.reset();
    for (int channel = 8; channel < 8 + kRecordings; ++channel)
        EXPECT_EQ(rig.play(1, channel, volts.data(), 10, 1000.0, false, "r"), kNoError) << channel;
    // An input that went on to another recording gives its first back.
    rig.reset();
    for (int channel = 0; channel < kRecordings; ++channel)
        ASSERT_EQ(rig.play(1, channel, volts.data(), 10, 1000.0, false, "r"), kNoError) << channel;
    Signal other;
    ASSERT_EQ(rig.signal(1, 1, &other), kNoError);
    ASSERT_EQ(other.kind, SignalKind::file);
    ASSERT_EQ(rig.set_signal(1, 0, other), kNoError);  // input 0 now plays input 1's
    EXPECT_EQ(rig.play(1, kRecordings, volts.data(), 10, 1000.0, false, "r"), kNoError);
    // A recording as long as the rig holds is taken, one longer is not.
    rig.reset();
    const std::vector<float> longest(kRecordingValues, 1.25f);
    EXPECT_EQ(rig.play(1, 9, longest.data(), kRecordingValues, 1000.0, false, "longest"), kNoError);
    // A file of one value plays it for ever.
    rig.reset();
    const float one = 2.5f;
    ASSERT_EQ(rig.play(2, 0, &one, 1, 1000.0, false, "one"), kNoError);
    unsigned short word = 0;
    ASSERT_EQ(cbReadAnalog(2, 0, 0, &word), kNoError);
    EXPECT_EQ(word, counts_of(2.5));
}

}  // namespace
