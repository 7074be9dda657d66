// test_rig_hosts.cpp - a small host program on the simulated cbw32.dll:
// gateways loaded from their DLLs, called through the stand-in host, and
// two Windows processes on one rig.  Started with --child ROLE ... it is
// the other process: it plays its role and exits with 0 when all went as
// asked.  A build given DAQGATE_PEER_HOSTS (the 32-bit one, given the
// 64-bit build's program) also plays against the other build's program: a
// 32-bit and a 64-bit process, each with its own gateways and driver, on
// one rig file.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "gateways.h"
#include "host.h"
#include "rig.h"
#include "scratch.h"

using namespace testhost;

namespace {

constexpr int kOut = 1;  // direction codes: the port drives its lines
constexpr int kIn = 2;   // or reads what drives its wire

std::string own_path()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

// Another process of this program (or of the program named) in the given
// role; its exit code, or -1 if it did not end within the limit.
class Child {
public:
    explicit Child(const std::string &role, const std::string &program = own_path())
    {
        std::string line = "\"" + program + "\" --child " + role;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process_) != 0;
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;
    ~Child()
    {
        if (started_) {
            TerminateProcess(process_.hProcess, 99);  // a no-op once it has ended
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }
    bool started() const { return started_; }
    int finish(DWORD milliseconds = 20000)
    {
        if (!started_ || WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<int>(code);
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// cbFetchText on board, 5 s a call, until a line comes or 20 s pass: the
// line (empty if none came), or false with the error a call raised.
bool fetch_line(double board, std::string *line, std::string *error)
{
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    line->clear();
    while (line->empty() && std::chrono::steady_clock::now() < give_up) {
        const Result r = call(gw_cbFetchText, 1, {num(board), num(5), num(8)});
        if (r.raised) {
            *error = r.error;
            return false;
        }
        *line = text(r.outputs[0]);
    }
    return true;
}

// The roles of the other process.
int child(const std::vector<std::string> &args)
{
    if (args.size() == 4 && args[0] == "write-port") {
        const double board = std::stod(args[1]), port = std::stod(args[2]), value = std::stod(args[3]);
        const Result set = call(gw_cbSetPortDirection, 1, {num(board), num(port), num(kOut)});
        const Result wrote = call(gw_cbWritePort, 1, {num(board), num(port), num(value)});
        return set.raised || wrote.raised || set.out(0) != 0 || wrote.out(0) != 0 ? 1 : 0;
    }
    if (args.size() == 4 && args[0] == "read-port") {
        // 0 when the port reads the value given.
        const double board = std::stod(args[1]), port = std::stod(args[2]), value = std::stod(args[3]);
        const Result read = call(gw_cbReadPort, 2, {num(board), num(port)});
        if (read.raised || read.out(1) != 0 || read.out(0) != value) {
            std::fprintf(stderr, "read-port: %g, status %g\n", read.raised ? -1.0 : read.out(0),
                         read.raised ? -1.0 : read.out(1));
            return 1;
        }
        return 0;
    }
    if (args.size() == 3 && args[0] == "fetch") {
        // cbFetchText on the board given (receiver bit 14 driven) until a
        // line comes or 20 s pass; 0 when the line is the one given.
        const double board = std::stod(args[1]);
        call(gw_cbSetPortDirection, 1, {num(board), num(14), num(kOut)});
        std::string line, error;
        if (!fetch_line(board, &line, &error)) {
            std::fprintf(stderr, "fetch: %s\n", error.c_str());
            return 1;
        }
        if (line != args[2])
            std::fprintf(stderr, "fetch: '%s'\n", line.c_str());
        return line == args[2] ? 0 : 1;
    }
    if (args.size() == 3 && args[0] == "push") {
        // cbPushText on board 0 (data 10 and sender 11 driven) of a line
        // ending in a line feed; 0 when every character went.
        const double board = std::stod(args[1]);
        for (double port : {10.0, 11.0})
            call(gw_cbSetPortDirection, 1, {num(board), num(port), num(kOut)});
        const std::string line = args[2] + "\n";
        const Result sent = call(gw_cbPushText, 1, {num(board), str(line), num(10)});
        if (sent.raised)
            std::fprintf(stderr, "push: %s\n", sent.error.c_str());
        return !sent.raised && sent.out(0) == static_cast<double>(line.size()) ? 0 : 1;
    }
    std::fprintf(stderr, "unknown role\n");
    return 2;
}

class RigHosts : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // One rig for this process and every child (they inherit the
        // environment), made anew for the suite.
        path_ = scratch::path("daqgate-hosts-test");
        scratch::remove(path_);
        scratch::set_env("DAQGATE_RIG", path_);
    }
    static void TearDownTestSuite()
    {
        // The driver keeps the rig open as long as this process lives: the
        // name goes now (the rig is shared for deleting), the file with the
        // process.
        scratch::remove(path_);
    }
    void SetUp() override
    {
        daqgate::sim::Rig rig;
        ASSERT_EQ(rig.open(path_), daqgate::sim::kNoError);
        rig.reset();
    }
    static std::string path_;
};
std::string RigHosts::path_;

TEST_F(RigHosts, APortWrittenInOneProcessIsReadInAnotherAcrossTheDefaultWiring)
{
    Child writer("write-port 1 5 4660");
    ASSERT_TRUE(writer.started());
    ASSERT_EQ(writer.finish(), 0);
    const Result read = call(gw_cbReadPort, 2, {num(0), num(5)});
    ASSERT_FALSE(read.raised) << read.error;
    EXPECT_EQ(read.out(0), 4660);
    EXPECT_EQ(read.out(1), 0);
}

TEST_F(RigHosts, ALineFromAWriterInOneProcessReachesAReaderInAnother)
{
    // The reader on board 0 drives its receiver bit (14); the writer on
    // board 1 drives data and sender; the default wiring joins them.
    ASSERT_EQ(call(gw_cbSetPortDirection, 1, {num(0), num(14), num(kOut)}).out(0), 0);
    Child writer("push 1 \"the line from another process\"");
    ASSERT_TRUE(writer.started());
    std::string line, error;
    ASSERT_TRUE(fetch_line(0, &line, &error)) << error;
    EXPECT_EQ(line, "the line from another process");
    EXPECT_EQ(writer.finish(), 0);
}

TEST_F(RigHosts, ABackgroundScanIsFetchedWithNoScanLostOrRepeated)
{
    // Channel 5 counts its scans; 4 channels at 20,000 scans a second into
    // a ring of 200 ms, fetched for a second at irregular intervals.
    {
        daqgate::sim::Rig rig;
        ASSERT_EQ(rig.open(path_), daqgate::sim::kNoError);
        ASSERT_EQ(rig.set_signal(0, 5, daqgate::sim::Signal{daqgate::sim::SignalKind::counter, 0, 0, 0}),
                  daqgate::sim::kNoError);
    }
    const double ring = 16000;
    const double handle = call(gw_cbNewSampleBuffer, 1, {num(ring)}).out(0);
    ASSERT_NE(handle, 0);
    const Result started = call(gw_cbReadAnalogBackgroundScan, 2,
                                {num(0), row({4, 7}), num(ring), num(20000), num(0), num(handle)});
    ASSERT_EQ(started.out(1), 0);
    ASSERT_EQ(started.out(0), 20000);

    const double lsb = 20.0 / 65536;
    double count = 0, index = 0;
    long scans = 0, lost = 0, fetches = 0, wraps = 0;
    unsigned seed = 7;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) {
        const Result r = call(gw_cbFetchBackgroundData, 4,
                              {num(0), num(count), num(index), num(ring), row({4, 7}), num(0), num(handle)});
        ASSERT_FALSE(r.raised) << r.error;
        ++fetches;
        wraps += r.out(3) < index ? 1 : 0;
        count = r.out(2);
        index = r.out(3);
        ASSERT_EQ(rows(r.outputs[0]) == 4 || cols(r.outputs[0]) == 0, true);
        for (int c = 0; c < cols(r.outputs[0]); ++c) {
            const long counted = std::lround((value(r.outputs[0], c * 4 + 1) + 10) / lsb);
            lost += counted != (scans % 65536) ? 1 : 0;
            ++scans;
        }
        seed = seed * 1103515245 + 12345;
        std::this_thread::sleep_for(std::chrono::microseconds((seed >> 8) % 20000));
    }
    EXPECT_EQ(call(gw_cbHaltBackground, 1, {num(0), num(1)}).out(0), 0);
    EXPECT_GT(scans, 10000) << fetches << " fetches";
    EXPECT_GT(wraps, 3);
    EXPECT_EQ(lost, 0) << "scans lost or repeated, of " << scans;
}

#if defined(DAQGATE_PEER_HOSTS)

// The other build's program, as a Windows path.
std::string peer()
{
    std::string path = DAQGATE_PEER_HOSTS;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

TEST_F(RigHosts, APortWrittenByEitherWidthIsReadByTheOther)
{
    Child writer("write-port 1 5 4660", peer());
    ASSERT_TRUE(writer.started()) << peer();
    ASSERT_EQ(writer.finish(), 0);
    const Result read = call(gw_cbReadPort, 2, {num(0), num(5)});
    ASSERT_FALSE(read.raised) << read.error;
    EXPECT_EQ(read.out(0), 4660);
    EXPECT_EQ(read.out(1), 0);

    ASSERT_EQ(call(gw_cbSetPortDirection, 1, {num(1), num(6), num(kOut)}).out(0), 0);
    ASSERT_EQ(call(gw_cbWritePort, 1, {num(1), num(6), num(43981)}).out(0), 0);
    Child reader("read-port 0 6 43981", peer());
    ASSERT_TRUE(reader.started());
    EXPECT_EQ(reader.finish(), 0);
}

TEST_F(RigHosts, ALineGoesFromEitherWidthToTheOther)
{
    // From the peer's writer on board 1 to this process's reader on board 0.
    ASSERT_EQ(call(gw_cbSetPortDirection, 1, {num(0), num(14), num(kOut)}).out(0), 0);
    Child writer("push 1 \"a line from the other width\"", peer());
    ASSERT_TRUE(writer.started()) << peer();
    std::string line, error;
    ASSERT_TRUE(fetch_line(0, &line, &error)) << error;
    EXPECT_EQ(line, "a line from the other width");
    EXPECT_EQ(writer.finish(), 0);

    // From this process's writer on board 1 to the peer's reader on board 0.
    ASSERT_EQ(call(gw_cbSetPortDirection, 1, {num(0), num(14), num(kIn)}).out(0), 0);
    Child reader("fetch 0 \"a line to the other width\"", peer());
    ASSERT_TRUE(reader.started());
    for (double port : {10.0, 11.0})
        ASSERT_EQ(call(gw_cbSetPortDirection, 1, {num(1), num(port), num(kOut)}).out(0), 0);
    const std::string sent = "a line to the other width\n";
    const Result pushed = call(gw_cbPushText, 1, {num(1), str(sent), num(10)});
    ASSERT_FALSE(pushed.raised) << pushed.error;
    EXPECT_EQ(pushed.out(0), static_cast<double>(sent.size()));
    EXPECT_EQ(reader.finish(), 0);
}

#endif

}  // namespace

int main(int argc, char **argv)
{
    if (argc >= 2 && std::string(argv[1]) == "--child")
        return child(std::vector<std::string>(argv + 2, argv + argc));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
