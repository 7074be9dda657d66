// The handshake text link: writers and readers against scripted peers.
#include <chrono>
#include <cmath>
#include <csignal>
#include <limits>
#include <thread>

#include <gtest/gtest.h>

#include "fake_driver.h"
#include "gateways.h"
#include "host.h"
#include "link_peer.h"
#if defined(DAQGATE_OCTAVE_INTERRUPT)
#  include "wait.h"  // the stride between two looks at the user
#endif

using namespace testhost;
using linkpeer::Ports;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const Ports kWriterPorts{10, 11, 14};
// A limit for a test that awaits a timeout past the call's first wait: a
// wait times out on a poll descheduled past its limit, even on a state it
// found at once, so the earlier waits need a limit large against a
// scheduling slice.
constexpr double kUnraced = 0.2;
const std::string kQLUsage = "*** Usage:  [stringVal] = QLFetchText(boardNum, timeOut, buffSize)";

class Link : public ::testing::Test {
protected:
    void SetUp() override { fake::driver.reset(); }
    static const std::vector<std::string> &log() { return fake::driver.log; }
};

// --- writers ---------------------------------------------------------------

TEST_F(Link, WriterUsageForAnyOtherCount)
{
    const std::string usage = "*** Usage: [numBytesWritten] = cbPushText(boardNum, stringTowrite, timeOut)";
    EXPECT_EQ(call(gw_cbPushText, 1, {num(0), str("A\n")}).error, usage);
    EXPECT_EQ(call(gw_QLPushText, 1, {num(0), str("A\n"), num(1), num(2)}).error, usage);
    EXPECT_TRUE(log().empty());
}

TEST_F(Link, WriterOfAnEmptyTextTouchesNoPort)
{
    const Result r = call(gw_cbPushText, 1, {num(0), str(""), num(1)});
    EXPECT_EQ(r.out(0), 0);
    EXPECT_TRUE(log().empty());
}

TEST_F(Link, WriterSendsEachByteInOneFullHandshake)
{
    linkpeer::Reader peer(kWriterPorts);
    peer.attach();
    const Result r = call(gw_cbPushText, 1, {num(2), str("AB\n"), num(1)});
    EXPECT_EQ(r.out(0), 3);
    EXPECT_EQ(peer.received, (std::vector<unsigned short>{0x41, 0x42, 0x0A}));
    // The first character, phase by phase; the peer answers at once.
    const std::vector<std::string> first(log().begin(), log().begin() + 6);
    EXPECT_EQ(first,
              (std::vector<std::string>{"cbReadPort(2,14)", "cbWritePort(2,10,65)", "cbWritePort(2,11,1)",
                                        "cbReadPort(2,14)", "cbWritePort(2,11,0)", "cbReadPort(2,14)"}));
    EXPECT_EQ(log().back(), "cbWritePort(2,11,0)");  // no wait after the last byte
    EXPECT_EQ(fake::driver.calls("cbWritePort").size(), 9u);
}

TEST_F(Link, QLPushTextClearsTheDataPortAfterEachByte)
{
    linkpeer::Reader peer(kWriterPorts);
    peer.attach();
    EXPECT_EQ(call(gw_QLPushText, 1, {num(0), str("AB"), num(1)}).out(0), 2);
    EXPECT_EQ(fake::driver.calls("cbWritePort"),
              (std::vector<std::string>{"cbWritePort(0,10,65)", "cbWritePort(0,11,1)", "cbWritePort(0,11,0)",
                                        "cbWritePort(0,10,0)", "cbWritePort(0,10,66)", "cbWritePort(0,11,1)",
                                        "cbWritePort(0,11,0)", "cbWritePort(0,10,0)"}));
}

TEST_F(Link, WriterSignExtendsBytesAndStopsAtAZeroByte)
{
    linkpeer::Reader peer(kWriterPorts);
    peer.attach();
    const Result r =
        call(gw_cbPushText, 1,
             {num(0), str(std::string("\xE9\x41\x7F\x80", 4) + std::string("\0Z\n", 3)), num(1)});
    EXPECT_EQ(r.out(0), 4);
    EXPECT_EQ(peer.received, (std::vector<unsigned short>{0xFFE9, 0x0041, 0x007F, 0xFF80}));
}

TEST_F(Link, WriterRefusesATextThatIsNotCharacters)
{
    for (mxArray *bad : {num(65), cell(), row({65, 10})}) {
        const Result r = call(gw_cbPushText, 1, {num(0), bad, num(1)});
        EXPECT_EQ(r.error, "*** cbPushText: stringTowrite must be a character array");
    }
    EXPECT_TRUE(log().empty());
}

TEST_F(Link, WriterFailures)
{
    struct Case {
        const char *what;
        std::function<void()> arrange;
        std::string error;
    };
    const Case cases[] = {
        {"read fails in wait 1",
         [] { fake::driver.read_port = [](int, int, unsigned short *) { return 7; }; },
         "*** Error reading receiver bit 1: fake text 7"},
        {"raising the sender bit fails",
         [] { fake::driver.write_port = [](int, int port, unsigned short) { return port == 11 ? 9 : 0; }; },
         "*** Error writing sender bit 1"},
        {"read fails in wait 2",
         [] {
             fake::driver.read_port = [n = 0](int, int, unsigned short *v) mutable {
                 *v = 0;
                 return ++n == 1 ? 0 : 5;
             };
         },
         "*** Error reading receiver bit 2"},
        {"lowering the sender bit fails",
         [] {
             fake::driver.read_port = [n = 0](int, int, unsigned short *v) mutable {
                 *v = ++n == 1 ? 0 : 1;
                 return 0;
             };
             fake::driver.write_port = [](int, int port, unsigned short v) {
                 return port == 11 && v == 0 ? 4 : 0;
             };
         },
         "*** Error writing sender bit 0"},
    };
    for (const Case &c : cases) {
        fake::driver.reset();
        c.arrange();
        const Result r = call(gw_cbPushText, 1, {num(0), str("A\n"), num(1)});
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_EQ(r.outputs[0], nullptr) << c.what;
    }
}

TEST_F(Link, AFailedDataWriteIsNotReported)
{
    linkpeer::Reader peer(kWriterPorts);
    peer.attach();
    auto answer = fake::driver.write_port;
    fake::driver.write_port = [answer](int b, int port, unsigned short v) {
        answer(b, port, v);
        return port == 10 ? 3 : 0;
    };
    EXPECT_EQ(call(gw_cbPushText, 1, {num(0), str("ok\n"), num(1)}).out(0), 3);
}

TEST_F(Link, WriterTimesOutOnAReceiverBitLeftUpBeforeTouchingTheData)
{
    linkpeer::Reader peer(kWriterPorts);
    peer.receiver_up = true;  // an earlier reader failed in its wait 2
    peer.attach();
    const Result r = call(gw_cbPushText, 1, {num(0), str("A\n"), num(0.05)});
    EXPECT_EQ(r.error, "*** Receiver bit read timeout 1");
    EXPECT_TRUE(fake::driver.calls("cbWritePort").empty());
}

TEST_F(Link, WriterTimesOutWithNoReaderAndLeavesItsRequestUp)
{
    linkpeer::Reader peer(kWriterPorts);
    peer.never_answers = true;
    peer.attach();
    const Result r = call(gw_QLPushText, 1, {num(0), str("A\n"), num(kUnraced)});
    EXPECT_EQ(r.error, "*** Receiver bit read timeout 2");
    EXPECT_EQ(log().back(), "cbReadPort(0,14)");
    EXPECT_EQ(fake::driver.calls("cbWritePort").back(), "cbWritePort(0,11,1)");
}

TEST_F(Link, TheTimeTestComesBeforeTheStateTest)
{
    // The peer holds the first poll of wait 2 past the limit and then
    // answers, so that poll ends in the timeout although it found the state
    // awaited.
    linkpeer::Reader peer(kWriterPorts);
    peer.stall = kUnraced + 0.05;
    peer.attach();
    EXPECT_EQ(call(gw_cbPushText, 1, {num(0), str("A"), num(kUnraced)}).error, "*** Receiver bit read timeout 2");
    EXPECT_EQ(peer.received.size(), 1u);
}

TEST_F(Link, ZeroNegativeAndNaNTimeOutsLeaveTheWaitsUnbounded)
{
    for (double timeout : {0.0, -1.0, kNaN}) {
        fake::driver.reset();
        linkpeer::Reader peer(kWriterPorts);
        peer.answer_after = 0.2;
        peer.attach();
        EXPECT_EQ(call(gw_cbPushText, 1, {num(0), str("A"), num(timeout)}).out(0), 1) << timeout;
    }
    fake::driver.reset();
    linkpeer::Reader slow(kWriterPorts);
    slow.answer_after = 2 * kUnraced;
    slow.attach();
    EXPECT_EQ(call(gw_cbPushText, 1, {num(0), str("A"), num(kUnraced)}).error, "*** Receiver bit read timeout 2");
}

// --- readers ---------------------------------------------------------------

struct ReaderCase {
    Entry *gateway;
    const char *name;
    Ports ports;
};
const ReaderCase kReaders[] = {
    {gw_cbFetchText, "cbFetchText", {10, 11, 14}},
    {gw_QLFetchText, "QLFetchText", {15, 16, 12}},
    {gw_QLFetchTextD, "QLFetchTextD", {14, 15, 10}},
    {gw_QLPullChars, "QLPullChars", {15, 16, 12}},
};

std::string receive(Entry *gateway, linkpeer::Writer &peer, double timeout = 1, double size = 16)
{
    peer.attach();
    const Result r = call(gateway, 1, {num(0), num(timeout), num(size)});
    EXPECT_FALSE(r.raised) << r.error;
    EXPECT_EQ(r.held_blocks, 0);
    return r.raised ? "<raised>" : text(r.outputs[0]);
}

TEST_F(Link, ReaderUsageTexts)
{
    EXPECT_EQ(call(gw_cbFetchText, 1, {num(0), num(1)}).error,
              "*** Usage:  [stringVal] = cbFetchText(boardNum, timeOut, buffSize)");
    for (Entry *gw : {gw_QLFetchText, gw_QLFetchTextD, gw_QLPullChars}) {
        EXPECT_EQ(call(gw, 1, {num(0), num(1)}).error, kQLUsage);
        EXPECT_EQ(call(gw, 1, {num(0), num(1), num(2), num(3)}).error, kQLUsage);
    }
    EXPECT_TRUE(log().empty());
}

TEST_F(Link, ReaderWithNoRequestPendingReturnsAtOnce)
{
    for (const ReaderCase &c : kReaders) {
        fake::driver.reset();
        const Result r = call(c.gateway, 1, {num(1), num(5), num(8)});
        EXPECT_EQ(text(r.outputs[0]), "") << c.name;
        EXPECT_EQ(r.printed, "") << c.name;
        EXPECT_EQ(log(), (std::vector<std::string>{"cbReadPort(1," + std::to_string(c.ports.sender) + ")"}))
            << c.name;
        EXPECT_EQ(r.held_blocks, 0);
    }
}

TEST_F(Link, AFailedOpeningSampleEndsTheCallWithAnEmptyText)
{
    // The driver fails the opening sample without writing the flag value;
    // were the value not 0 to begin with, the reader would go on to wait 1.
    fake::driver.read_port = [](int, int, unsigned short *) { return 5; };
    for (const ReaderCase &c : kReaders) {
        fake::driver.log.clear();
        const Result r = call(c.gateway, 1, {num(0), num(1), num(8)});
        EXPECT_FALSE(r.raised) << c.name << ": " << r.error;
        EXPECT_EQ(text(r.outputs[0]), "") << c.name;
        EXPECT_EQ(fake::driver.log.size(), 1u) << c.name;
        EXPECT_EQ(r.printed, "") << c.name;
    }
}

TEST_F(Link, EachReaderTakesALineOnItsOwnPorts)
{
    for (const ReaderCase &c : kReaders) {
        fake::driver.reset();
        linkpeer::Writer peer(c.ports, "AB\n");
        const std::string got = receive(c.gateway, peer);
        // QLPullChars keeps the line feed that closed the line.
        EXPECT_EQ(got, c.gateway == gw_QLPullChars ? "AB\n" : "AB") << c.name;
        EXPECT_EQ(peer.sent, 3u) << c.name;  // the line feed went through the handshake
        const std::string s = std::to_string(c.ports.sender), d = std::to_string(c.ports.data),
                          r = std::to_string(c.ports.receiver);
        const std::vector<std::string> first(log().begin(), log().begin() + 7);
        EXPECT_EQ(first, (std::vector<std::string>{"cbReadPort(0," + s + ")", "cbReadPort(0," + s + ")",
                                                   "cbReadPort(0," + d + ")", "cbWritePort(0," + r + ",1)",
                                                   "cbReadPort(0," + s + ")", "cbWritePort(0," + r + ",0)",
                                                   "cbReadPort(0," + s + ")"}))
            << c.name;
        EXPECT_EQ(log().back(), "cbWritePort(0," + r + ",0)") << c.name;  // read bit left down
    }
}

TEST_F(Link, ALoneLineFeedIsAnEmptyLine)
{
    linkpeer::Writer peer(kWriterPorts, "\n");
    EXPECT_EQ(receive(gw_cbFetchText, peer), "");
    EXPECT_EQ(peer.sent, 1u);
    fake::driver.reset();
    linkpeer::Writer pulled({15, 16, 12}, "\n");
    EXPECT_EQ(receive(gw_QLPullChars, pulled), "\n");
}

TEST_F(Link, QLPullCharsPrintsOncePerStoredCharacter)
{
    linkpeer::Writer peer({15, 16, 12}, "xyz\n");
    peer.attach();
    const Result r = call(gw_QLPullChars, 1, {num(0), num(1), num(2)});
    EXPECT_EQ(text(r.outputs[0]), "xyz\n");
    EXPECT_EQ(r.printed, "the value is {0}the value is {0}the value is {0}");
}

TEST_F(Link, QLFetchTextDPrintsEveryPhaseIncludingTheLineFeed)
{
    linkpeer::Writer peer({14, 15, 10}, "A\n");
    peer.attach();
    const Result r = call(gw_QLFetchTextD, 1, {num(0), num(1), num(8)});
    EXPECT_EQ(text(r.outputs[0]), "A");
    EXPECT_EQ(r.printed,
              "string sent\n"
              "server bit checked\nA read, read flag toggled\nserver knows we've read\n"
              "ready for another read\n"
              "server bit checked\n\n read, read flag toggled\nserver knows we've read\n"
              "ready for another read\n");
}

TEST_F(Link, TheBufferGrowsByItsStepKeepingTwoBytesFree)
{
    linkpeer::Writer five(kWriterPorts, "abcde\n");
    five.attach();
    Result r = call(gw_cbFetchText, 1, {num(0), num(1), num(2)});
    EXPECT_EQ(text(r.outputs[0]), "abcde");
    EXPECT_EQ(r.mallocs, (std::vector<size_t>{2}));
    EXPECT_EQ(r.reallocs, (std::vector<size_t>{4, 6, 8}));

    for (auto [line, reallocs] :
         {std::pair<std::string, std::vector<size_t>>{"ab\n", {}}, {"abc\n", {8}}, {"abcdefg\n", {8, 12}}}) {
        fake::driver.reset();
        linkpeer::Writer peer(kWriterPorts, line);
        peer.attach();
        r = call(gw_cbFetchText, 1, {num(0), num(1), num(4)});
        EXPECT_EQ(text(r.outputs[0]) + "\n", line);
        EXPECT_EQ(r.reallocs, reallocs) << line;
    }
    // A pulled line keeps its line feed inside the buffer too.
    fake::driver.reset();
    linkpeer::Writer pulled({15, 16, 12}, "ab\n");
    pulled.attach();
    r = call(gw_QLPullChars, 1, {num(0), num(1), num(2)});
    EXPECT_EQ(text(r.outputs[0]), "ab\n");
    EXPECT_EQ(r.reallocs, (std::vector<size_t>{4}));
}

TEST_F(Link, BuffSizeBelowTwoIsRefusedBeforeAnything)
{
    for (double size : {1.0, 0.0, -4.0, 1.9}) {
        const Result r = call(gw_QLFetchText, 1, {num(0), num(1), num(size)});
        EXPECT_EQ(r.error, "*** QLFetchText: buffSize must be at least 2") << size;
    }
    EXPECT_TRUE(log().empty());
}

TEST_F(Link, ReaderKeepsTheLowByteAndAZeroByteEndsTheText)
{
    linkpeer::Writer high(kWriterPorts, "A\xE9\n");
    high.data_high = 0xFF00;  // the writer's sign extension, or anything else
    EXPECT_EQ(receive(gw_cbFetchText, high), "A\xE9");

    fake::driver.reset();
    linkpeer::Writer zero(kWriterPorts, std::string("A\0BC\n", 5));
    EXPECT_EQ(receive(gw_cbFetchText, zero), "A");
    EXPECT_EQ(zero.sent, 5u);  // collected on to the line feed
}

TEST_F(Link, ASenderBitReadingTwoIsUpForWaitOneAndDownForWaitTwo)
{
    linkpeer::Writer peer(kWriterPorts, "AB\n");
    peer.sender_value = 2;
    peer.never_lowers = true;  // bit 0 is never set, so wait 2 ends at once
    EXPECT_EQ(receive(gw_cbFetchText, peer, 1), "AB");
}

TEST_F(Link, ReaderFailures)
{
    struct Case {
        const char *what;
        int fail_read;   // the nth cbReadPort fails (0: none)
        int fail_write;  // the nth cbWritePort fails (0: none)
        std::string error;
    };
    // Reads: 1 opening sample, 2 wait 1, 3 data, 4 wait 2.  Writes: 1 read
    // bit up, 2 read bit down.
    const Case cases[] = {
        {"wait 1 read", 2, 0, "*** Error reading server bit 1"},
        {"data read", 3, 0, "*** Could not read the character"},
        {"wait 2 read", 4, 0, "*** Error reading server bit 2"},
        {"raising the read bit", 0, 1, "*** Could not set read bit 1"},
        {"lowering the read bit", 0, 2, "*** Could not set read bit 2"},
    };
    for (const Case &c : cases) {
        fake::driver.reset();
        linkpeer::Writer peer(kWriterPorts, "AB\n");
        peer.attach();
        auto reads = fake::driver.read_port;
        auto writes = fake::driver.write_port;
        fake::driver.read_port = [reads, n = 0, c](int b, int p, unsigned short *v) mutable {
            const int status = reads(b, p, v);
            return ++n == c.fail_read ? 6 : status;
        };
        fake::driver.write_port = [writes, n = 0, c](int b, int p, unsigned short v) mutable {
            const int status = writes(b, p, v);
            return ++n == c.fail_write ? 6 : status;
        };
        const Result r = call(gw_cbFetchText, 1, {num(0), num(1), num(8)});
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_EQ(r.outputs[0], nullptr) << c.what;
    }
}

TEST_F(Link, ALineWithoutItsLineFeedEndsInWaitOnesTimeout)
{
    linkpeer::Writer peer(kWriterPorts, "AB");
    peer.attach();
    const Result r = call(gw_cbFetchText, 1, {num(0), num(kUnraced), num(8)});
    EXPECT_EQ(r.error, "*** Server bit read timeout 1");
    EXPECT_EQ(peer.sent, 2u);
}

TEST_F(Link, ReaderWaitTwoIsBoundedByOneSecondWhateverTheTimeOut)
{
    linkpeer::Writer peer(kWriterPorts, "A\n");
    peer.never_lowers = true;
    peer.attach();
    const Result r = call(gw_cbFetchText, 1, {num(0), num(1000), num(8)});
    EXPECT_EQ(r.error, "*** Server bit read timeout 2");
    EXPECT_TRUE(peer.receiver_up);  // the read bit stays up after the failure
}

TEST_F(Link, ReaderWaitsAreUnboundedWithZeroNegativeOrNaNTimeOut)
{
    for (double timeout : {0.0, -3.0, kNaN}) {
        fake::driver.reset();
        linkpeer::Writer peer(kWriterPorts, "\n");
        peer.answer_after = 1.1;  // longer than wait 2's one second
        EXPECT_EQ(receive(gw_cbFetchText, peer, timeout), "") << timeout;
        EXPECT_EQ(peer.sent, 1u);
    }
}

#if defined(DAQGATE_OCTAVE_INTERRUPT)
// Ctrl-C reaches a gateway only in a host that lets it see it: Octave.
extern "C" volatile sig_atomic_t octave_signal_caught;
extern "C" sig_atomic_t octave_interrupt_state;

// The most calls between two looks at the user.
constexpr uint32_t kLongestStride = daqgate::link::Poller::kLongestStride;

// A writer's call to a reader that never answers, a signal coming at the
// poll given: Ctrl-C (interrupt) or another of the host's.  Returns the
// call and, in polls, how many polls the writer made.
Result write_to_a_deaf_reader(bool interrupt, int at_poll, double timeout, int *polls)
{
    linkpeer::Reader peer(kWriterPorts);
    peer.never_answers = true;
    peer.attach();
    auto reads = fake::driver.read_port;
    *polls = 0;
    fake::driver.read_port = [&, reads](int b, int p, unsigned short *v) {
        if (++*polls == at_poll)
            host_signal(interrupt);
        return reads(b, p, v);
    };
    return call(gw_cbPushText, 1, {num(0), str("A\n"), num(timeout)});
}

TEST_F(Link, CtrlCEndsAnUnboundedWait)
{
    clear_signals();
    int polls = 0;
    const Result r = write_to_a_deaf_reader(true, 100000, 0, &polls);
    clear_signals();
    EXPECT_EQ(r.error, "*** cbPushText: wait interrupted by the user");
    EXPECT_LE(polls, 100000 + kLongestStride);  // looked at now and then, not only at the end
}

TEST_F(Link, CtrlCEndsAReaderFedAnEndlessStream)
{
    // A sender bit reading 2 is up for wait 1 and down for wait 2: every
    // wait ends on its first poll and the stream never ends.  The polls are
    // counted across the call, so Ctrl-C is still seen.
    clear_signals();
    int polls = 0;
    fake::driver.read_port = [&](int, int port, unsigned short *v) {
        if (++polls == 50000)
            host_signal(true);
        *v = port == 16 ? 2 : 'x';  // QLFetchText's sender bit port, and its data
        return 0;
    };
    const Result r = call(gw_QLFetchText, 1, {num(0), num(5), num(64)});
    clear_signals();
    EXPECT_EQ(r.error, "*** QLFetchText: wait interrupted by the user");
    EXPECT_LE(polls, 50000 + kLongestStride);
}

TEST_F(Link, OnASlowBoardCtrlCIsHeardBeforeTheNextDriverCall)
{
    // Each read takes at least 2 ms, as a board's driver call may: the
    // question is asked before every call, so none follows the signal.
    for (const bool stream : {false, true}) {
        clear_signals();
        int polls = 0;
        Result r;
        if (stream) {
            fake::driver.read_port = [&](int, int port, unsigned short *v) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                if (++polls == 25)
                    host_signal(true);
                *v = port == 16 ? 2 : 'x';
                return 0;
            };
            r = call(gw_QLFetchText, 1, {num(0), num(5), num(64)});
        } else {
            linkpeer::Reader peer(kWriterPorts);
            peer.never_answers = true;
            peer.attach();
            auto reads = fake::driver.read_port;
            fake::driver.read_port = [&, reads](int b, int p, unsigned short *v) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                if (++polls == 25)
                    host_signal(true);
                return reads(b, p, v);
            };
            r = call(gw_cbPushText, 1, {num(0), str("A\n"), num(0)});
        }
        clear_signals();
        EXPECT_EQ(r.error, stream ? "*** QLFetchText: wait interrupted by the user"
                                  : "*** cbPushText: wait interrupted by the user");
        EXPECT_EQ(polls, 25) << (stream ? "stream" : "deaf reader");
        fake::driver.reset();
    }
}

TEST_F(Link, CtrlCTheHostHasTakenInAlreadyEndsTheWaitToo)
{
    // A host operation handled the signal before the poll looked: only the
    // interrupt state is left to tell of it.
    clear_signals();
    linkpeer::Reader peer(kWriterPorts);
    peer.never_answers = true;
    peer.attach();
    auto reads = fake::driver.read_port;
    int polls = 0;
    fake::driver.read_port = [&, reads](int b, int p, unsigned short *v) {
        if (++polls == 3000)
            octave_interrupt_state = 1;
        return reads(b, p, v);
    };
    const Result r =
        call(gw_cbPushText, 1, {num(0), str("A\n"), num(5)});  // bounded, so a wait deaf to it ends too
    clear_signals();
    EXPECT_EQ(r.error, "*** cbPushText: wait interrupted by the user");
    EXPECT_LE(polls, 3000 + kLongestStride);
}

TEST_F(Link, AnotherSignalOfTheHostChangesNothing)
{
    // A child of the script exits in the middle of a wait (SIGCHLD): the
    // host handles it, and the wait goes on to its own end.
    clear_signals();
    int polls = 0;
    const Result r = write_to_a_deaf_reader(false, 5000, 0.2, &polls);
    EXPECT_EQ(r.error, "*** Receiver bit read timeout 2");
    EXPECT_EQ(signals_handled, 1);
    EXPECT_EQ(octave_signal_caught, 0);
    clear_signals();
}
#endif

TEST_F(Link, WritersGiveTheHostsTextBackOnEveryPath)
{
    // Octave reclaims no text of mxArrayToString, not even after an error.
    linkpeer::Reader peer(kWriterPorts);
    peer.attach();
    const Result sent = call(gw_QLPushText, 1, {num(0), str("AB\n"), num(1)});
    EXPECT_EQ(sent.out(0), 3);
    EXPECT_EQ(sent.held_texts, 0);
    EXPECT_EQ(sent.held_blocks, 0);
    EXPECT_EQ(call(gw_cbPushText, 1, {num(0), str(""), num(1)}).held_texts, 0);
    fake::driver.reset();
    linkpeer::Reader deaf(kWriterPorts);
    deaf.never_answers = true;
    deaf.attach();
    const Result failed = call(gw_cbPushText, 1, {num(0), str("A\n"), num(kUnraced)});
    EXPECT_EQ(failed.error, "*** Receiver bit read timeout 2");
    EXPECT_EQ(failed.held_texts, 0);
}

}  // namespace
