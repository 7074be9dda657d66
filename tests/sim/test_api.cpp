// The simulated driver through its C interface, as a gateway calls it: the
// rig comes from DAQGATE_RIG, set before the first call.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "cbw32.h"
#include "rig.h"
#include "rig_environment.h"
#include "scratch.h"

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <unistd.h>
#endif

using namespace daqgate::sim;

namespace {

std::string rig_path;
const auto *const environment =
    ::testing::AddGlobalTestEnvironment(new RigEnvironment("daqgate-api-test", &rig_path));

// Each test starts on a rig in its power-up state, as after 'simboard
// reset', whatever the tests before it in this process did to it (the
// driver keeps its rig for the life of the process, as a host does).  The
// first driver call of the process finds no file and makes it.
class Api : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(rig_path))
            return;
        daqgate::sim::Rig renewer;
        ASSERT_EQ(renewer.open(rig_path, true), daqgate::sim::kNoError);
    }
    void TearDown() override
    {
        for (int board = 0; board < 4; ++board)
            cbStopIOBackground(board, 1);  // a scan that a failed check left running
    }
};

TEST_F(Api, TheRigFileIsCreatedOnFirstUse)
{
    unsigned short value = 1;
    ASSERT_EQ(cbReadPort(0, 0, &value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(rig_path));
}

TEST_F(Api, PortsAcrossTheDefaultWiring)
{
    ASSERT_EQ(cbSetPortDirection(2, 5, 1), 0);
    ASSERT_EQ(cbWritePort(2, 5, 0xABCD), 0);
    unsigned short value = 0;
    ASSERT_EQ(cbReadPort(3, 5, &value), 0);
    EXPECT_EQ(value, 0xABCD);
    EXPECT_EQ(cbWritePort(3, 5, 1), kNotOutput);  // an input
    // The first port of the rig drives its wire as any other does.
    ASSERT_EQ(cbSetPortDirection(0, 0, 1), 0);
    ASSERT_EQ(cbWritePort(0, 0, 0x0F0F), 0);
    ASSERT_EQ(cbReadPort(1, 0, &value), 0);
    EXPECT_EQ(value, 0x0F0F);
    EXPECT_EQ(cbReadPort(daqgate::sim::kBoards, 5, &value), kBadBoard);
    EXPECT_EQ(cbSetPortDirection(0, daqgate::sim::kBoardTable[0].ports, 1), kBadPort);
    EXPECT_EQ(cbSetPortDirection(0, 0, 0), kBadDirection);
}

TEST_F(Api, BoardNamesAreDistinctAndFitTheBuffer)
{
    std::set<std::string> names;
    for (int board = 0; board < daqgate::sim::kBoards; ++board) {
        char name[CB_BOARDNAMELEN + 8];
        std::memset(name, 'x', sizeof name);
        ASSERT_EQ(cbBoardLabel(board, name), 0);
        EXPECT_LE(std::strlen(name), 27u);
        EXPECT_EQ(name[CB_BOARDNAMELEN], 'x');  // nothing written past the buffer
        names.insert(name);
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(daqgate::sim::kBoards));
    char name[CB_BOARDNAMELEN];
    EXPECT_EQ(cbBoardLabel(daqgate::sim::kBoards, name), kBadBoard);
    EXPECT_STREQ(name, "");
}

TEST_F(Api, TheTextsMadeFromTheBoardsConstantsReachAScriptWhole)
{
    char text[CB_ERRSTRLEN];
    unsigned short counts = 0;
    const int range = cbReadAnalog(0, 0, 4, &counts);
    ASSERT_EQ(range, daqgate::sim::kBadRange);
    cbErrorText(range, text);
    EXPECT_STREQ(text,
                 "Invalid range code: use 0, 1, 2, 3 (bipolar 10, 5, 2.5, 1 V) or 100, 101 (unipolar 10, 5 V).");
    const int channel = cbWriteAnalog(0, 2, 0, 0);
    ASSERT_EQ(channel, daqgate::sim::kBadChannel);
    cbErrorText(channel, text);
    EXPECT_STREQ(text, "Invalid analog channel: inputs are 0 to 15, outputs 0 and 1.");
    cbErrorText(daqgate::sim::kRigLocked, text);
    EXPECT_STREQ(text, "The simulated rig file stayed locked by another process for 5 seconds.");
    cbErrorText(daqgate::sim::kBadSignal, text);
    EXPECT_STREQ(text, "Invalid signal: its kind is unknown, or a number of it is not finite or out of its range.");
}

TEST_F(Api, EveryStatusTheDriverReturnsHasATextDistinctFromSuccessAndUnknown)
{
    char success[CB_ERRSTRLEN], unknown[CB_ERRSTRLEN];
    cbErrorText(0, success);
    cbErrorText(99999, unknown);
    EXPECT_NE(std::string(unknown).find("99999"), std::string::npos);
    unsigned short value = 0;
    char name[CB_BOARDNAMELEN];
    const int statuses[] = {cbReadPort(9, 0, &value), cbReadPort(0, 99, &value), cbSetPortDirection(0, 0, 7),
                            cbWritePort(1, 31, 0), cbBoardLabel(-1, name)};
    for (int status : statuses) {
        ASSERT_NE(status, 0);
        char text[CB_ERRSTRLEN];
        cbErrorText(status, text);
        EXPECT_STRNE(text, success);
        EXPECT_STRNE(text, unknown);
    }
}

}  // namespace

namespace {

TEST_F(Api, ABackgroundScanFillsItsRingWithTheNewestSamplesAndStopsWhenTold)
{
    {
        daqgate::sim::Rig rig;
        ASSERT_EQ(rig.open(rig_path), daqgate::sim::kNoError);
        rig.set_signal(1, 0, daqgate::sim::Signal{daqgate::sim::SignalKind::counter, 0, 0, 0});
    }
    const DaqHandle handle = cbNewSampleBuffer(100);
    int rate = 100000;
    ASSERT_EQ(cbReadAnalogScan(1, 0, 1, 100, &rate, 0, handle, 3), 0);
    EXPECT_EQ(rate, 100000);
    int again = 1000;
    EXPECT_EQ(cbReadAnalogScan(1, 0, 1, 100, &again, 0, handle, 3), kBusy);  // one scan per board
    EXPECT_EQ(cbReadAnalogScan(1, 0, 1, 10, &again, 0, handle, 0), kBusy);

    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    short state = -1;
    int count = -1, index = -1;
    ASSERT_EQ(cbGetIOStatus(1, &state, &count, &index, 1), 0);
    EXPECT_EQ(state, 1);
    EXPECT_GT(count, 100);  // goes on after the call returned, through wraps
    EXPECT_EQ(index, count % 100);

    ASSERT_EQ(cbStopIOBackground(1, 1), 0);
    ASSERT_EQ(cbGetIOStatus(1, &state, &count, &index, 1), 0);
    EXPECT_EQ(state, 0);
    unsigned short ring[100];
    ASSERT_EQ(cbWinBufToArray(handle, ring, 0, 100), 0);
    // Position p holds sample s, the newest with s mod 100 == p; channel 0
    // (even samples) counts its scans.
    for (int p = 0; p < 100; p += 2) {
        const int s = count - 100 + ((p - (count - 100)) % 100 + 100) % 100;
        EXPECT_EQ(ring[p], (s / 2) & 0xFFFF) << p;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    int later = -1;
    ASSERT_EQ(cbGetIOStatus(1, &state, &later, &index, 1), 0);
    EXPECT_EQ(later, count);  // a stopped scan stands still
}

TEST_F(Api, BackgroundScanRefusals)
{
    const DaqHandle handle = cbNewSampleBuffer(10);
    int rate = 100;
    short state = 0;
    int count = 0, index = 0;
    EXPECT_EQ(cbGetIOStatus(0, &state, &count, &index, 2), kBadFunction);
    EXPECT_EQ(cbStopIOBackground(0, 2), kBadFunction);
    EXPECT_EQ(cbGetIOStatus(5, &state, &count, &index, 1), kBadBoard);
    EXPECT_EQ(cbReadAnalogScan(0, 0, 0, 10, &rate, 0, handle, 5), kBadOptions);
    EXPECT_EQ(cbReadAnalogScan(0, 0, 0, 0, &rate, 0, handle, 3), kBadCount);   // an empty ring
    EXPECT_EQ(cbReadAnalogScan(0, 0, 0, 11, &rate, 0, handle, 3), kBadCount);  // past the buffer
    EXPECT_EQ(cbReadAnalogScan(0, 0, 0, 5, &rate, 0, handle + 1, 3), kBadHandle);
    unsigned short out[4];
    EXPECT_EQ(cbWinBufToArray(handle, out, 8, 4), kBadCount);
    EXPECT_EQ(cbWinBufToArray(handle, out, -1, 1), kBadCount);
    EXPECT_EQ(cbWinBufToArray(handle, out, 6, 4), 0);
    EXPECT_EQ(cbWinBufToArray(handle + 1, out, 0, 1), kBadHandle);
    EXPECT_EQ(cbWinBufToArray(0, out, 0, 1), kBadHandle);
    // No scan ever ran on board 3 in this process.
    ASSERT_EQ(cbGetIOStatus(3, &state, &count, &index, 1), 0);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(cbStopIOBackground(3, 1), 0);
}

}  // namespace

namespace {

#if defined(_WIN32)
// Windows lets no process shrink or replace a file that a process has
// mapped: the rig stays whole under an attempt to cut it or to put another
// file in its place.
TEST_F(Api, NoProcessCutsOrReplacesAMappedRig)
{
    unsigned short value = 0;
    ASSERT_EQ(cbSetPortDirection(0, 9, 1), 0);
    ASSERT_EQ(cbWritePort(0, 9, 0x55), 0);
    std::error_code refused;
    std::filesystem::resize_file(rig_path, 0, refused);
    EXPECT_TRUE(refused);
    const std::string other = rig_path + ".new";
    {
        daqgate::sim::Rig fresh;
        ASSERT_EQ(fresh.open(other, true), daqgate::sim::kNoError);
    }
    EXPECT_EQ(MoveFileExA(other.c_str(), rig_path.c_str(), MOVEFILE_REPLACE_EXISTING), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    scratch::remove(other);
    EXPECT_EQ(cbReadPort(1, 9, &value), 0);
    EXPECT_EQ(value, 0x55);
}
#else
// A rig file that goes away under the driver: every operation on the rig
// says so with its status until the file holds a rig made anew.
TEST_F(Api, ALostRigIsAStatusUntilTheRigIsRenewed)
{
    unsigned short value = 0;
    ASSERT_EQ(cbSetPortDirection(0, 9, 1), 0);
    ASSERT_EQ(cbWritePort(0, 9, 0x55), 0);
    ASSERT_EQ(truncate(rig_path.c_str(), 0), 0);
    EXPECT_EQ(cbReadPort(1, 9, &value), daqgate::sim::kRigLost);  // the fault, seen in this call
    char name[CB_BOARDNAMELEN];
    unsigned short counts = 0;
    EXPECT_EQ(cbBoardLabel(0, name), daqgate::sim::kRigLost);
    EXPECT_EQ(cbReadAnalog(0, 0, 0, &counts), daqgate::sim::kRigLost);
    EXPECT_EQ(cbWritePort(0, 9, 1), daqgate::sim::kRigLost);
    char text[CB_ERRSTRLEN];
    cbErrorText(daqgate::sim::kRigLost, text);
    EXPECT_NE(std::string(text).find("rig file was lost"), std::string::npos) << text;
    // 'simboard reset' renews it; the driver takes it back soon after.
    {
        daqgate::sim::Rig renewer;
        ASSERT_EQ(renewer.open(rig_path, true), daqgate::sim::kNoError);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(cbReadPort(1, 9, &value), 0);
    EXPECT_EQ(value, 0);  // power-up state
    EXPECT_EQ(cbSetPortDirection(0, 9, 1), 0);
}

// A cut through the boards' state: boards 0 and 1 before it, 2 and 3 past.
const off_t kCut =
    static_cast<off_t>(offsetof(daqgate::sim::RigLayout, boards) + 2 * sizeof(daqgate::sim::BoardState));

TEST_F(Api, ARigCutInHalfIsFoundWithinTheCheck)
{
    // Board 0 lies in the half that is left: only the periodic look at the
    // file finds the cut, within 1024 calls and 20 ms of them.
    unsigned short value = 0;
    ASSERT_EQ(cbReadPort(0, 0, &value), 0);
    ASSERT_EQ(truncate(rig_path.c_str(), kCut), 0);
    // Past 20 ms, the next 1024 calls hold a look at the file, however
    // slowly the machine lets them come.
    const double start = daqgate::sim::monotonic_seconds();
    int status = 0;
    for (int late = 0; status == 0 && late < 2048;) {
        status = cbReadPort(0, 0, &value);
        late += daqgate::sim::monotonic_seconds() - start > 0.05;
    }
    EXPECT_EQ(status, daqgate::sim::kRigLost);
    EXPECT_EQ(cbReadPort(3, 31, &value), daqgate::sim::kRigLost);
    daqgate::sim::Rig renewer;
    ASSERT_EQ(renewer.open(rig_path, true), daqgate::sim::kNoError);
}

// A host that met a lost rig takes a renewed one back at its next call:
// 'simboard reset' gives it back to a script at once, whenever the script
// last met the loss.
TEST_F(Api, ARenewedRigServesAtTheNextCall)
{
    unsigned short value = 0;
    ASSERT_EQ(cbSetPortDirection(0, 9, 1), 0);
    ASSERT_EQ(cbWritePort(0, 9, 0x55), 0);
    ASSERT_EQ(truncate(rig_path.c_str(), kCut), 0);
    for (int i = 0; i < 100; ++i)  // a script looping on a call that meets the cut
        ASSERT_EQ(cbReadPort(3, 31, &value), daqgate::sim::kRigLost) << i;
    {
        daqgate::sim::Rig renewer;
        ASSERT_EQ(renewer.open(rig_path, true), daqgate::sim::kNoError);
    }
    EXPECT_EQ(cbReadPort(1, 9, &value), 0);
    EXPECT_EQ(value, 0);  // power-up state
    // Lost and renewed again, by a file put in its place this time.
    ASSERT_EQ(truncate(rig_path.c_str(), 0), 0);
    EXPECT_EQ(cbReadPort(1, 9, &value), daqgate::sim::kRigLost);
    const std::string other = rig_path + ".new";
    {
        daqgate::sim::Rig fresh;
        ASSERT_EQ(fresh.open(other, true), daqgate::sim::kNoError);
    }
    std::filesystem::rename(other, rig_path);
    EXPECT_EQ(cbSetPortDirection(0, 9, 1), 0);
    EXPECT_EQ(cbWritePort(0, 9, 0x66), 0);
    EXPECT_EQ(cbReadPort(1, 9, &value), 0);
    EXPECT_EQ(value, 0x66);
}

// The first call after a renewal acts once, on the renewed rig: a
// background scan it starts is the board's only one.
TEST_F(Api, TheFirstCallOnARenewedRigActsOnce)
{
    unsigned short value = 0;
    ASSERT_EQ(cbReadPort(3, 31, &value), 0);
    ASSERT_EQ(truncate(rig_path.c_str(), kCut), 0);
    ASSERT_EQ(cbReadPort(3, 31, &value), daqgate::sim::kRigLost);
    {
        daqgate::sim::Rig renewer;
        ASSERT_EQ(renewer.open(rig_path, true), daqgate::sim::kNoError);
    }
    const DaqHandle handle = cbNewSampleBuffer(100);
    int rate = 1000;
    EXPECT_EQ(cbReadAnalogScan(1, 0, 1, 100, &rate, 0, handle, CB_BACKGROUND), 0);
    short state = -1;
    int count = -1, index = -1;
    ASSERT_EQ(cbGetIOStatus(1, &state, &count, &index, CB_AIFUNCTION), 0);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(cbStopIOBackground(1, CB_AIFUNCTION), 0);
}

TEST_F(Api, ZerosPastACutAreALossNotData)
{
    // Board 3 lies past the cut: its zeros are no valid port, and the
    // driver looks at the file at once.
    unsigned short value = 0;
    ASSERT_EQ(cbReadPort(3, 31, &value), 0);
    ASSERT_EQ(truncate(rig_path.c_str(), kCut), 0);
    EXPECT_EQ(cbReadPort(3, 31, &value), daqgate::sim::kRigLost);
    EXPECT_EQ(cbReadPort(0, 0, &value), daqgate::sim::kRigLost);
    daqgate::sim::Rig renewer;
    ASSERT_EQ(renewer.open(rig_path, true), daqgate::sim::kNoError);
}

#endif

}  // namespace
