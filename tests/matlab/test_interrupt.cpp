// Ctrl-C in a MATLAB build of the text link, without MATLAB: the link's
// gateways built with DAQGATE_MATLAB_INTERRUPT ask libut's
// utIsInterruptPending, here the stand-in libut.so, whose flag this host
// raises as MATLAB's console does: from its SIGINT handler (a real SIGINT
// to the process) or from a timer.  The gateways drive the simulated
// board, whose latency paces their driver calls.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cbw32.h"
#include "gateways.h"
#include "host.h"
#include "rig.h"
#include "rig_environment.h"

// The stand-in libut: the host's question and the test host's switch.
extern "C" bool utIsInterruptPending(void);
extern "C" bool utSetInterruptPending(bool raised);

using namespace daqgate::sim;
using testhost::num;
using testhost::Result;
using testhost::str;

namespace {

std::string rig_path;
const auto *const environment =
    ::testing::AddGlobalTestEnvironment(new RigEnvironment("daqgate-matlab-interrupt-test", &rig_path));

using Clock = std::chrono::steady_clock;

double seconds_between(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// When the flag went up, in the clock's ticks; a signal handler writes it.
std::atomic<Clock::rep> raised_at(0);
static_assert(std::atomic<Clock::rep>::is_always_lock_free, "the SIGINT handler stores the time");

void raise_flag()
{
    raised_at.store(Clock::now().time_since_epoch().count());
    utSetInterruptPending(true);
}

// The console's SIGINT handler: Ctrl-C raises the flag, nothing more.
extern "C" void on_sigint(int)
{
    raise_flag();
}

enum class Raise { sigint, timer };

const char *said(Raise how)
{
    return how == Raise::sigint ? "SIGINT" : "a timer";
}

// A board's latency, as simboard's `latency` sets it, in microseconds.
const uint32_t kLatencies[] = {0, 1000, 5000, 1000000};

// The bound within which a wait that hears the flag ends: far above a
// driver call, far below the minutes a wait deaf to it would last.
double bound_at(uint32_t micros)
{
    return 30.0 + 3.0 * micros / 1e6;
}

struct Interrupted {
    Result result;
    bool raised = false;  // the flag went up during the call
    double heard = -1;    // seconds from the flag to the end of the call
};

class MatlabInterrupt : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsigned short value = 0;
        ASSERT_EQ(cbReadPort(0, 0, &value), 0);  // the driver makes the rig
        ASSERT_EQ(rig.open(rig_path), kNoError);
        rig.reset();
        utSetInterruptPending(false);
        raised_at.store(0);
        struct sigaction action = {};
        action.sa_handler = on_sigint;
        sigemptyset(&action.sa_mask);
        ASSERT_EQ(sigaction(SIGINT, &action, &previous_), 0);
        installed_ = true;
    }
    void TearDown() override
    {
        if (installed_)
            sigaction(SIGINT, &previous_, nullptr);
        // MATLAB lowers the flag once it has handled the interrupt.
        utSetInterruptPending(false);
        rig.reset();
    }

    void out(int board, int port, unsigned short value)
    {
        ASSERT_EQ(cbSetPortDirection(board, port, CB_DIGITAL_OUT), 0);
        ASSERT_EQ(cbWritePort(board, port, value), 0);
    }
    // An endless stream for a reader on board 0: board 1 drives data 'x'
    // and holds its request at 2, up for the reader's first wait (any bit)
    // and down for its second (bit 0); the reader's acknowledge is an
    // output of board 0.
    void endless_stream(int data, int sender, int receiver)
    {
        out(1, data, 'x');
        out(1, sender, 2);
        ASSERT_EQ(cbSetPortDirection(0, receiver, CB_DIGITAL_OUT), 0);
    }
    // A writer on board 1 whose reader never answers: its data and request
    // outputs, its acknowledge an input facing board 0's input.
    void deaf_reader(int data, int sender)
    {
        ASSERT_EQ(cbSetPortDirection(1, data, CB_DIGITAL_OUT), 0);
        ASSERT_EQ(cbSetPortDirection(1, sender, CB_DIGITAL_OUT), 0);
    }
    // Whether the port's latch has changed since the reset.
    std::function<bool()> changed(int board, int port)
    {
        return [this, board, port] {
            uint16_t value = 0;
            int source = -1;
            return rig.shown(PortId{board, port}, &value, &source) == kNoError && source >= 0 &&
                   rig.changes_at(source) > 0;
        };
    }

    // Calls gateway(args) while a console raises the flag once the call is
    // well under way: ready() holds and `settle` seconds have passed.  A
    // call still running `bound` seconds after the flag is ended by a fault
    // on every port read of `board` (it then fails on its message).
    Interrupted interrupt(testhost::Entry *gateway, const std::vector<mxArray *> &args, Raise how,
                          std::function<bool()> ready, double settle, int board, double bound)
    {
        std::atomic<bool> ended(false);
        std::thread console([&] {
            const Clock::time_point start = Clock::now();
            while (!ended.load() && seconds_between(start, Clock::now()) < 120 &&
                   !(seconds_between(start, Clock::now()) > settle && ready()))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (ended.load())
                return;
            if (how == Raise::sigint)
                kill(getpid(), SIGINT);
            else
                raise_flag();
            bool stopped = false;
            while (!ended.load()) {
                const Clock::time_point at{Clock::duration(raised_at.load())};
                if (!stopped && raised_at.load() != 0 && seconds_between(at, Clock::now()) > bound) {
                    FaultSpec fault;
                    fault.board = board;
                    fault.operation = Operation::read_port;
                    fault.status = 1;
                    EXPECT_EQ(rig.arm_fault(fault), kNoError);
                    stopped = true;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        Interrupted outcome;
        outcome.result = testhost::call(gateway, 1, args);
        const Clock::time_point end = Clock::now();
        ended.store(true);
        console.join();
        const Clock::rep raised = raised_at.load();
        outcome.raised = raised != 0;
        if (outcome.raised)
            outcome.heard = seconds_between(Clock::time_point{Clock::duration(raised)}, end);
        return outcome;
    }

    Rig rig;

private:
    struct sigaction previous_ = {};
    bool installed_ = false;
};

// At each pace of the board: the flag ends the wait with the interrupt's
// message, however the console raised it.
class AtLatency : public MatlabInterrupt, public ::testing::WithParamInterface<uint32_t> {
protected:
    void report(const char *gateway, Raise how, const Interrupted &outcome)
    {
        std::printf("%s at %u us a driver call: Ctrl-C (%s) heard after %.6f s\n", gateway, GetParam(),
                    said(how), outcome.heard);
        std::fflush(stdout);
    }
};

TEST_P(AtLatency, AReaderFedAnEndlessStreamEndsOnCtrlC)
{
    const uint32_t micros = GetParam();
    endless_stream(10, 11, 14);
    ASSERT_EQ(rig.set_latency(0, micros), kNoError);
    // Well into the stream: the reader has raised its read bit for a byte,
    // and at full speed the stride between two looks has grown its longest.
    const Interrupted outcome = interrupt(gw_cbFetchText, {num(0), num(0), num(64)}, Raise::sigint,
                                          changed(0, 14), 0.2, 0, bound_at(micros));
    ASSERT_TRUE(outcome.raised) << "the call ended before Ctrl-C: " << outcome.result.error;
    EXPECT_TRUE(outcome.result.raised);
    EXPECT_EQ(outcome.result.error, "*** cbFetchText: wait interrupted by the user");
    EXPECT_LT(outcome.heard, bound_at(micros));
    report("cbFetchText", Raise::sigint, outcome);
}

TEST_P(AtLatency, AWriterToAReaderThatNeverAnswersEndsOnCtrlC)
{
    const uint32_t micros = GetParam();
    deaf_reader(10, 11);
    ASSERT_EQ(rig.set_latency(1, micros), kNoError);
    // In its wait for the acknowledge: its request is up.
    const Interrupted outcome = interrupt(gw_cbPushText, {num(1), str("hello\n"), num(0)}, Raise::sigint,
                                          changed(1, 11), 0.2, 1, bound_at(micros));
    ASSERT_TRUE(outcome.raised) << "the call ended before Ctrl-C: " << outcome.result.error;
    EXPECT_TRUE(outcome.result.raised);
    EXPECT_EQ(outcome.result.error, "*** cbPushText: wait interrupted by the user");
    EXPECT_LT(outcome.heard, bound_at(micros));
    report("cbPushText", Raise::sigint, outcome);
}

INSTANTIATE_TEST_SUITE_P(Latencies, AtLatency, ::testing::ValuesIn(kLatencies),
                         [](const ::testing::TestParamInfo<uint32_t> &info) {
                             return std::to_string(info.param) + "us";
                         });

TEST_F(MatlabInterrupt, AQLReaderEndsWhenATimerRaisesTheFlag)
{
    // QLFetchText: data on port 15, the request on 16, the acknowledge on 12.
    endless_stream(15, 16, 12);
    const Interrupted outcome =
        interrupt(gw_QLFetchText, {num(0), num(0), num(64)}, Raise::timer, changed(0, 12), 0.2, 0, bound_at(0));
    ASSERT_TRUE(outcome.raised) << "the call ended before the flag: " << outcome.result.error;
    EXPECT_EQ(outcome.result.error, "*** QLFetchText: wait interrupted by the user");
    EXPECT_LT(outcome.heard, bound_at(0));
}

TEST_F(MatlabInterrupt, AWaitWithATimeLimitEndsOnTheFlagBeforeItsLimit)
{
    deaf_reader(10, 11);
    const Interrupted outcome = interrupt(gw_cbPushText, {num(1), str("hello\n"), num(600)}, Raise::sigint,
                                          changed(1, 11), 0.1, 1, bound_at(0));
    ASSERT_TRUE(outcome.raised) << "the call ended before Ctrl-C: " << outcome.result.error;
    EXPECT_EQ(outcome.result.error, "*** cbPushText: wait interrupted by the user");
    EXPECT_LT(outcome.heard, bound_at(0));
}

// Once the host has lowered the flag of an earlier Ctrl-C, a wait with a
// time limit ends on its timeout.
TEST_F(MatlabInterrupt, WithTheFlagDownAWaitWithATimeLimitEndsOnItsTimeout)
{
    // An interrupt the host has handled: raised and lowered again.
    ASSERT_EQ(kill(getpid(), SIGINT), 0);
    EXPECT_TRUE(utIsInterruptPending());
    EXPECT_TRUE(utSetInterruptPending(false));

    // A writer whose reader never answers: its wait for the acknowledge.
    deaf_reader(10, 11);
    Clock::time_point start = Clock::now();
    Result r = testhost::call(gw_cbPushText, 1, {num(1), str("hello\n"), num(0.3)});
    EXPECT_EQ(r.error, "*** Receiver bit read timeout 2");
    EXPECT_GE(seconds_between(start, Clock::now()), 0.3);

    // A reader whose writer keeps its request up: the reader's wait for
    // the request to fall, which a writer has a second for.
    out(1, 10, 'x');
    out(1, 11, 1);
    ASSERT_EQ(cbSetPortDirection(0, 14, CB_DIGITAL_OUT), 0);
    start = Clock::now();
    r = testhost::call(gw_cbFetchText, 1, {num(0), num(0.3), num(64)});
    EXPECT_EQ(r.error, "*** Server bit read timeout 2");
    EXPECT_GE(seconds_between(start, Clock::now()), 1.0);
}

}  // namespace
