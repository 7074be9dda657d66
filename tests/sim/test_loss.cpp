// A rig file that shrinks, vanishes, is replaced or is held locked under
// a process that has it mapped, and a rig scribbled over: the process goes
// on, and says what happened.
#include <csignal>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "rig.h"

using namespace daqgate::sim;

namespace {

class RigLoss : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "daqgate-loss-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = dir_ + "/rig";
        ASSERT_EQ(rig_.open(path_), kNoError);
        ASSERT_EQ(rig_.set_direction(3, 7, kOutput), kNoError);
        ASSERT_EQ(rig_.write_port(3, 7, 0x1234), kNoError);
    }
    void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }

    uint16_t last_port()
    {
        uint16_t value = 0xDEAD;
        EXPECT_EQ(rig_.read_port(3, 7, &value), kNoError);
        return value;
    }
    // What 'simboard reset' does to the file.
    void reset_file()
    {
        Rig renewer;
        ASSERT_EQ(renewer.open(path_, true), kNoError);
    }

    std::string dir_, path_;
    Rig rig_;
};

TEST_F(RigLoss, ATruncationToZeroIsCaughtAsALossNotACrash)
{
    ASSERT_EQ(truncate(path_.c_str(), 0), 0);
    // The fault put zeros in the rig's place: no direction code at all.
    uint16_t value = 0xDEAD;
    EXPECT_EQ(rig_.read_port(3, 7, &value), kRigCorrupt);
    EXPECT_TRUE(rig_.lost());
    EXPECT_FALSE(rig_.look());
    EXPECT_FALSE(rig_.take_back());  // an empty file is no rig
    // Another process starting on the emptied file makes a rig anew, and
    // the lost process takes it back.
    Rig newcomer;
    ASSERT_EQ(newcomer.open(path_), kNoError);
    ASSERT_EQ(newcomer.set_direction(3, 7, kOutput), kNoError);
    ASSERT_EQ(newcomer.write_port(3, 7, 0x4321), kNoError);
    ASSERT_TRUE(rig_.take_back());
    EXPECT_FALSE(rig_.lost());
    uint16_t seen = 0;
    EXPECT_EQ(rig_.read_port(3, 7, &seen), kNoError);
    EXPECT_EQ(rig_.direction_of({3, 7}), kOutput);
    EXPECT_EQ(seen, 0x4321);
    EXPECT_TRUE(rig_.look());
}

TEST_F(RigLoss, ATruncationToHalfIsFoundByTheLook)
{
    // Cut through the boards' state: cutting a page's tail raises no fault,
    // boards past the cut would read zeros.
    ASSERT_EQ(truncate(path_.c_str(), offsetof(RigLayout, boards) + 2 * sizeof(BoardState)), 0);
    EXPECT_FALSE(rig_.lost());
    EXPECT_FALSE(rig_.look());
    EXPECT_TRUE(rig_.lost());
    // Grown back to its size, it is still the cut rig: not taken back.
    ASSERT_EQ(truncate(path_.c_str(), sizeof(RigLayout)), 0);
    EXPECT_FALSE(rig_.take_back());
    reset_file();
    EXPECT_TRUE(rig_.take_back());
    EXPECT_EQ(last_port(), 0);  // power-up state
}

TEST_F(RigLoss, AFileReplacedUnderItsNameIsALoss)
{
    ASSERT_EQ(unlink(path_.c_str()), 0);
    EXPECT_FALSE(rig_.look());       // removed
    EXPECT_FALSE(rig_.take_back());  // nothing at the name
    reset_file();                    // a new file under the same name
    EXPECT_TRUE(rig_.take_back());
    EXPECT_TRUE(rig_.look());
    ASSERT_EQ(rig_.set_direction(0, 1, kOutput), kNoError);
    ASSERT_EQ(rig_.write_port(0, 1, 77), kNoError);
    Rig other;
    ASSERT_EQ(other.open(path_), kNoError);
    uint16_t value = 0;
    ASSERT_EQ(other.read_port(1, 1, &value), kNoError);
    EXPECT_EQ(value, 77);  // both on the new file
}

TEST_F(RigLoss, AResetInPlaceIsNoLoss)
{
    Rig other;
    ASSERT_EQ(other.open(path_), kNoError);
    other.reset();
    EXPECT_TRUE(rig_.look());
    EXPECT_EQ(last_port(), 0);
}

// How a fresh host process of the case ends (guard_host): its SIGBUS
// handling meets the rig's guard for the first time in it, as a host's
// does.  Its wait status.
int guard_host(const std::string &rig, const std::string &other, const char *which)
{
    const pid_t child = fork();
    if (child == 0) {
        // A sanitizer's own SIGBUS handler would stand where the host's
        // default is: the host is meant to meet SIGBUS as a plain process.
        const char *options = std::getenv("ASAN_OPTIONS");
        const std::string plain = std::string(options != nullptr ? options : "") + ":handle_sigbus=0";
        setenv("ASAN_OPTIONS", plain.c_str(), 1);
        execl(DAQGATE_GUARD_HOST, DAQGATE_GUARD_HOST, rig.c_str(), other.c_str(), which, nullptr);
        _exit(127);
    }
    int status = -1;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return -1;
    return status;
}

TEST_F(RigLoss, ABusErrorElsewhereGoesToTheHandlerBeforeTheRigs)
{
    // The rig's own fault the guard's; the other file's the host's handler's.
    const int status = guard_host(path_, dir_ + "/other", "exit-before");
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 42);
}

TEST_F(RigLoss, ABusErrorElsewhereWithNoHandlerBeforeEndsTheProcessAsItWould)
{
    // Whether SIGBUS was left to its default or ignored before the rig was
    // mapped: the rig's fault is caught, a fault of some other mapping ends
    // the process by SIGBUS.
    for (const char *before : {"default-before", "ignore-before"}) {
        const int status = guard_host(path_, dir_ + "/other", before);
        ASSERT_TRUE(WIFSIGNALED(status)) << before << ": " << status;
        EXPECT_EQ(WTERMSIG(status), SIGBUS) << before;
    }
}

TEST_F(RigLoss, AHandlerTheHostInstallsLaterIsNotReplaced)
{
    // The guard is installed once: looking at the rig does not put it back
    // in front of a handler the host installed since.
    const int status = guard_host(path_, dir_ + "/other", "exit-after");
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 42);
}

TEST_F(RigLoss, AHandlerInstalledLaterThatHandsFaultsOnReachesTheGuardWithoutALoop)
{
    // The rig's fault passes through the host's handler to the guard; a
    // fault elsewhere through both to the default, once: had the guard put
    // itself back in front, each would hand it to the other for ever.
    const int status = guard_host(path_, dir_ + "/other", "chain-after");
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGBUS);
}

TEST_F(RigLoss, ARigClosedGivesItsMappingBack)
{
    const auto mappings = [] {
        std::ifstream maps("/proc/self/maps");
        return std::count(std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>(), '\n');
    };
    const auto before = mappings();
    for (int i = 0; i < 20; ++i) {
        Rig rig;
        ASSERT_EQ(rig.open(path_), kNoError);
        ASSERT_EQ(rig.open(path_), kNoError);  // opened twice: the first is closed
    }
    EXPECT_EQ(mappings(), before);
}

TEST_F(RigLoss, ALockHeldElsewhereIsWaitedForABoundedTime)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(path_.c_str(), O_RDWR);
        flock(fd, LOCK_EX);
        char c = 1;
        (void)!write(ready[1], &c, 1);
        sleep(30);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    Rig waiting;
    const double start = monotonic_seconds();
    EXPECT_EQ(waiting.open(path_), kRigLocked);
    const double waited = monotonic_seconds() - start;
    // Given up no earlier than its limit, and before the holder lets go
    // (a wait with no bound would end in 30 s with the lock taken).
    EXPECT_GE(waited, RigFile::kLockSeconds);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(waiting.open(path_), kNoError);
}

TEST_F(RigLoss, MoreRigsThanCanBeGuardedAreRefusedNotLeftUnguarded)
{
    // The fixture's rig holds one of the 32 guarded mappings.
    std::vector<Rig> rigs(31);
    for (Rig &rig : rigs)
        ASSERT_EQ(rig.open(dir_ + "/many"), kNoError);
    Rig one_more;
    EXPECT_EQ(one_more.open(dir_ + "/many"), kRigOpen);
    rigs.pop_back();  // gives its mapping back
    EXPECT_EQ(one_more.open(dir_ + "/many"), kNoError);
}

TEST_F(RigLoss, EveryGuardedMappingComesBackWhenItsRigGoesAway)
{
    rig_ = Rig{};
    for (int round = 0; round < 2; ++round) {
        std::vector<Rig> rigs(32);
        for (Rig &rig : rigs)
            ASSERT_EQ(rig.open(dir_ + "/many"), kNoError) << "round " << round;
    }
}

TEST_F(RigLoss, APersonalRigIsTakenBackOnlyAsItWasFirstOpened)
{
    // A personal rig lost, and a rig made anew elsewhere linked in at its
    // name, or the file made anew but left open to others: neither is
    // taken back; the user's own file, made anew, is.
    Rig mine;
    const std::string personal = dir_ + "/personal", elsewhere = dir_ + "/elsewhere";
    ASSERT_EQ(mine.open(personal, false, RigAccess::personal), kNoError);
    ASSERT_EQ(unlink(personal.c_str()), 0);
    EXPECT_FALSE(mine.look());
    Rig other;
    ASSERT_EQ(other.open(elsewhere), kNoError);
    ASSERT_EQ(symlink(elsewhere.c_str(), personal.c_str()), 0);
    EXPECT_FALSE(mine.take_back());
    ASSERT_EQ(unlink(personal.c_str()), 0);
    Rig renewer;
    ASSERT_EQ(renewer.open(personal, true, RigAccess::personal), kNoError);
    ASSERT_EQ(chmod(personal.c_str(), 0606), 0);
    EXPECT_FALSE(mine.take_back());
    ASSERT_EQ(chmod(personal.c_str(), 0600), 0);
    EXPECT_TRUE(mine.take_back());
    EXPECT_TRUE(mine.look());
}

TEST_F(RigLoss, ARigFileIsItsUsersAlone)
{
    struct stat info {};
    ASSERT_EQ(stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

// The seed of a run's scribbles: drawn anew for each run, so that every run
// tries other bytes, or taken from DAQGATE_SCRIBBLE_SEED to replay the run
// whose failure printed it.
unsigned scribble_seed()
{
    if (const char *given = std::getenv("DAQGATE_SCRIBBLE_SEED"); given != nullptr && *given != '\0')
        return static_cast<unsigned>(std::strtoul(given, nullptr, 0));
    return std::random_device{}();
}

std::string replay(unsigned seed)
{
    return "scribbles of seed " + std::to_string(seed) + " (DAQGATE_SCRIBBLE_SEED=" + std::to_string(seed) +
           " replays them)";
}

// Random bytes over a rig, its header kept, as a process gone wrong would
// leave it.
void scribble(const std::string &path, unsigned seed)
{
    std::mt19937 random(seed);
    Rig rig;
    ASSERT_EQ(rig.open(path, true), kNoError);
    const int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    const size_t header = offsetof(RigLayout, boards);
    // Over the state, and the heads of the recordings: their volts are
    // any numbers by design.
    const size_t state = offsetof(RigLayout, recordings) - header;
    const size_t recording = sizeof(RecordingState);
    const size_t head = offsetof(RecordingState, volts);
    const int writes = 1 + static_cast<int>(random() % 64);
    for (int i = 0; i < writes; ++i) {
        const size_t within = random() % (state + kRecordings * head);
        const size_t offset = within < state
                                  ? header + within
                                  : offsetof(RigLayout, recordings) + (within - state) / head * recording +
                                        (within - state) % head;
        const off_t at = static_cast<off_t>(offset);
        unsigned char bytes[4];
        for (unsigned char &b : bytes)
            b = static_cast<unsigned char>(random());
        const size_t n = std::min<size_t>(1 + random() % 4, sizeof(RigLayout) - static_cast<size_t>(at));
        ASSERT_EQ(pwrite(fd, bytes, n, at), static_cast<ssize_t>(n));
    }
    close(fd);
}

// Everything a driver or simboard reads of a rig, through the rig.
int read_everything(Rig &rig)
{
    int invalid = 0;
    for (int board = 0; board < kBoards; ++board) {
        const BoardModel &model = kBoardTable[board];
        for (int port = 0; port < model.ports; ++port) {
            uint16_t value = 0;
            const Status read = rig.read_port(board, port, &value);
            EXPECT_TRUE(read == kNoError || read == kRigCorrupt) << read;
            PortId peer{};
            invalid += rig.peer_of(PortId{board, port}, &peer) != kNoError;
            invalid += read != kNoError;
        }
        for (int channel = 0; channel < model.inputs; ++channel) {
            uint16_t counts = 0;
            const Status read = rig.read_analog(board, channel, 0, &counts);
            EXPECT_TRUE(read == kNoError || read == kRigCorrupt) << read;
            invalid += read != kNoError;
        }
        short channels[kQueueLength], ranges[kQueueLength];
        int entries = 0;
        invalid += rig.gain_queue(board, channels, ranges, &entries) != kNoError;
        Pace pace{};
        std::unique_ptr<ScanSource> source;
        const Status scan = rig.begin_scan(board, 0, model.inputs - 1, 0, 1000, &pace, &source);
        EXPECT_TRUE(scan == kNoError || scan == kRigCorrupt) << scan;
        if (scan == kNoError) {
            uint16_t samples[64];
            source->fill(samples, 0, 64);
        }
    }
    return invalid;
}

TEST_F(RigLoss, AScribbledRigGivesStatusesNeverACrashOrAHang)
{
    const unsigned first = scribble_seed();
    SCOPED_TRACE(replay(first));
    int seeds_with_invalid = 0;
    for (unsigned i = 0; i < 400; ++i) {
        const unsigned seed = first + i;
        scribble(path_, seed);
        Rig rig;
        ASSERT_EQ(rig.open(path_), kNoError) << seed;  // the header is whole
        seeds_with_invalid += read_everything(rig) > 0;
    }
    // Most scribbles hit a code, an index or a signal somewhere.
    EXPECT_GT(seeds_with_invalid, 100);
}

constexpr uint32_t kLatencyCap = 1000;  // microseconds

TEST_F(RigLoss, AScribbledRigThroughSimboardShowAndTheDriver)
{
    const unsigned first = scribble_seed();
    SCOPED_TRACE(replay(first));
    for (unsigned i = 0; i < 24; ++i) {
        const unsigned seed = first + i;
        scribble(path_, seed);
        // A scribbled latency is kept, but to a millisecond at most: the
        // probe's ~220 calls then take a fraction of a second, and its time
        // limit tells a hang from a slow board.
        {
            Rig rig;
            ASSERT_EQ(rig.open(path_), kNoError) << seed;
            for (int board = 0; board < kBoards; ++board) {
                if (rig.latency(board) > kLatencyCap) {
                    ASSERT_EQ(rig.set_latency(board, kLatencyCap), kNoError) << seed;
                }
            }
        }
        // simboard shows what is invalid instead of crashing or hanging.
        const std::string show =
            "timeout 20 " DAQGATE_SIMBOARD " --rig " + path_ + " show > " + dir_ + "/shown 2>&1";
        EXPECT_EQ(std::system(show.c_str()), 0) << seed;
        // The driver, in a process of its own on the scribbled rig.
        const std::string probe = "timeout 20 " DAQGATE_RIG_PROBE " " + path_;
        EXPECT_EQ(std::system(probe.c_str()), 0) << seed;
    }
}

}  // namespace
