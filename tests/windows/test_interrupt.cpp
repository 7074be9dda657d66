// test_interrupt.cpp - Ctrl-C in a MATLAB-interrupt build: a reader fed an
// endless stream on the simulated board, in a module whose link waits ask
// libut whether the user pressed Ctrl-C, ends with the interrupt's message
// once the host raises the flag (a timer thread here, as MATLAB's console
// would), on a board taking no time, 1 ms, 5 ms or a second a driver call.
// How soon is printed; the bound asserted is far above one call, so it
// tells a wait that heard the flag from one deaf to it.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <windows.h>

#include "gateways.h"
#include "host.h"
#include "rig.h"
#include "scratch.h"

// The stand-in libut: the host's side of the flag.
extern "C" __declspec(dllimport) bool utSetInterruptPending(bool raised);

using namespace testhost;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kOut = 1;

class Interrupt : public ::testing::TestWithParam<uint32_t> {
protected:
    static void SetUpTestSuite()
    {
        path_ = scratch::path("daqgate-interrupt-test");
        scratch::remove(path_);
        scratch::set_env("DAQGATE_RIG", path_);
    }
    static void TearDownTestSuite() { scratch::remove(path_); }
    void SetUp() override
    {
        ASSERT_EQ(rig_.open(path_), daqgate::sim::kNoError);
        rig_.reset();
        ASSERT_EQ(rig_.set_latency(0, 0), daqgate::sim::kNoError);
        utSetInterruptPending(false);
    }
    void TearDown() override
    {
        rig_.set_latency(0, 0);
        utSetInterruptPending(false);
    }
    static std::string path_;
    daqgate::sim::Rig rig_;
};
std::string Interrupt::path_;

TEST_P(Interrupt, CtrlCEndsAReaderFedAnEndlessStream)
{
    const uint32_t micros = GetParam();
    // Board 1 sends 'x' for ever: its sender bit held at 2 is up for the
    // reader's wait 1 and down for its wait 2.  The reader on board 0
    // drives its receiver bit; the default wiring joins the boards.
    for (const double port : {10.0, 11.0})
        ASSERT_EQ(call(gw_cbSetPortDirection, 1, {num(1), num(port), num(kOut)}).out(0), 0);
    ASSERT_EQ(call(gw_cbWritePort, 1, {num(1), num(10), num('x')}).out(0), 0);
    ASSERT_EQ(call(gw_cbWritePort, 1, {num(1), num(11), num(2)}).out(0), 0);
    ASSERT_EQ(call(gw_cbSetPortDirection, 1, {num(0), num(14), num(kOut)}).out(0), 0);
    ASSERT_EQ(rig_.set_latency(0, micros), daqgate::sim::kNoError);

    const auto into_stream = std::chrono::microseconds(std::max<uint64_t>(500000, 3ull * micros));
    const auto bound = std::chrono::seconds(20) + std::chrono::microseconds(3ull * micros);
    std::mutex lock;
    std::condition_variable ended_cv;
    bool ended = false, stopped = false;
    Clock::time_point raised;
    std::thread timer([&] {
        std::unique_lock<std::mutex> hold(lock);
        if (ended_cv.wait_for(hold, into_stream, [&] { return ended; }))
            return;  // the reader ended before the user pressed anything
        raised = Clock::now();
        utSetInterruptPending(true);
        // A reader deaf to the flag is ended by the stream's line feed,
        // so that the test fails rather than hangs.
        if (!ended_cv.wait_for(hold, bound, [&] { return ended; })) {
            daqgate::sim::Rig rig;
            if (rig.open(path_) == daqgate::sim::kNoError)
                rig.write_port(1, 10, '\n');
            stopped = true;
        }
    });
    const Result r = call(gw_cbFetchText, 1, {num(0), num(0), num(64)});
    const Clock::time_point end = Clock::now();
    {
        std::lock_guard<std::mutex> hold(lock);
        ended = true;
    }
    ended_cv.notify_one();
    timer.join();

    ASSERT_TRUE(r.raised) << "the reader returned '" << (r.outputs[0] ? text(r.outputs[0]) : "") << "'";
    EXPECT_EQ(r.error, "*** cbFetchText: wait interrupted by the user");
    EXPECT_FALSE(stopped) << "the flag was not heard within "
                          << std::chrono::duration<double>(bound).count() << " s";
    const double heard = std::chrono::duration<double>(end - raised).count();
    EXPECT_LT(heard, std::chrono::duration<double>(bound).count());
    std::printf("Ctrl-C at %u us a driver call: the call ended %.3f s after the flag was raised\n",
                static_cast<unsigned>(micros), heard);
}

INSTANTIATE_TEST_SUITE_P(Latencies, Interrupt, ::testing::Values(0u, 1000u, 5000u, 1000000u),
                         [](const ::testing::TestParamInfo<uint32_t> &info) {
                             return std::to_string(info.param) + "us";
                         });

}  // namespace
