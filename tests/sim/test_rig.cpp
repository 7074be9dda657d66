// The simulated rig: power-up state, directions, wiring, the rig file, and
// two processes sharing one rig.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <vector>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rig.h"

using namespace daqgate::sim;

namespace {

PortId peer_of(const Rig &rig, PortId a)
{
    PortId b{};
    EXPECT_EQ(rig.peer_of(a, &b), kNoError);
    return b;
}

class RigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "daqgate-rig-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = dir_ + "/rig";
    }
    void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }

    uint16_t read(Rig &rig, int board, int port)
    {
        uint16_t value = 0xDEAD;
        EXPECT_EQ(rig.read_port(board, port, &value), kNoError);
        return value;
    }

    std::string dir_, path_;
};

TEST_F(RigTest, PowerUpEveryPortAnUndrivenInputAndDefaultWiring)
{
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    // Every board's ports face its partner's, as its row of the table says.
    for (int board = 0; board < kBoards; ++board) {
        const BoardModel &model = kBoardTable[board];
        for (int port = 0; port < model.ports; ++port) {
            EXPECT_EQ(rig.direction_of({board, port}), kInput);
            EXPECT_EQ(read(rig, board, port), 0);
            const PortId peer = peer_of(rig, {board, port});
            const bool faces = model.partner >= 0 && port < kBoardTable[model.partner].ports;
            EXPECT_EQ(peer.board, faces ? model.partner : -1) << board << "." << port;
            EXPECT_EQ(peer.port, faces ? port : -1) << board << "." << port;
        }
    }
}

TEST_F(RigTest, AnOutputDrivesTheInputAtTheOtherEndOfItsWire)
{
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    EXPECT_EQ(rig.write_port(0, 10, 0x41), kNotOutput);  // inputs cannot be written
    ASSERT_EQ(rig.set_direction(0, 10, kOutput), kNoError);
    ASSERT_EQ(rig.write_port(0, 10, 0xFFE9), kNoError);
    EXPECT_EQ(read(rig, 0, 10), 0xFFE9);  // an output reads back its latch
    EXPECT_EQ(read(rig, 1, 10), 0xFFE9);  // the wired input sees it
    EXPECT_EQ(read(rig, 1, 11), 0);       // its neighbour does not
    EXPECT_EQ(read(rig, 2, 10), 0);       // nor another pair of boards

    // Both ends outputs: each reads its own latch.
    ASSERT_EQ(rig.set_direction(1, 10, kOutput), kNoError);
    EXPECT_EQ(read(rig, 1, 10), 0);
    // Back to input: the output's latch shows again.
    ASSERT_EQ(rig.set_direction(1, 10, kInput), kNoError);
    EXPECT_EQ(read(rig, 1, 10), 0xFFE9);
    // The driving end made an input: nothing drives the line.
    ASSERT_EQ(rig.set_direction(0, 10, kInput), kNoError);
    EXPECT_EQ(read(rig, 1, 10), 0);
}

TEST_F(RigTest, UnknownBoardsPortsAndDirectionsGiveTheirOwnStatus)
{
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    uint16_t value = 0;
    EXPECT_EQ(rig.read_port(kBoards, 0, &value), kBadBoard);
    EXPECT_EQ(rig.read_port(-1, 0, &value), kBadBoard);
    EXPECT_EQ(rig.read_port(0, kBoardTable[0].ports, &value), kBadPort);
    EXPECT_EQ(rig.write_port(0, -1, 0), kBadPort);
    EXPECT_EQ(rig.set_direction(0, 0, 0), kBadDirection);
    EXPECT_EQ(rig.set_direction(0, 0, 3), kBadDirection);
    EXPECT_EQ(rig.set_direction(0, 40, 1), kBadPort);
}

TEST_F(RigTest, AResetWritesNothingPastTheLayout)
{
    // What lies in the rig's last page past the layout is in no file: a
    // write there would be lost, or land on whatever else maps the page.
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    const int fd = ::open(path_.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t whole = (sizeof(RigLayout) + page - 1) / page * page;
    auto *bytes = static_cast<unsigned char *>(mmap(nullptr, whole, PROT_READ, MAP_SHARED, fd, 0));
    ASSERT_NE(bytes, MAP_FAILED);
    rig.reset();
    size_t written = 0;
    for (size_t i = sizeof(RigLayout); i < whole; ++i)
        written += bytes[i] != 0;
    EXPECT_EQ(written, 0u);
    munmap(bytes, whole);
    close(fd);
}

TEST_F(RigTest, RewiringAndUnwiring)
{
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    EXPECT_EQ(rig.wire({0, 10}, {2, 14}), kAlreadyWired);
    EXPECT_EQ(rig.unwire({0, 10}, {1, 11}), kNotWired);
    ASSERT_EQ(rig.unwire({0, 10}, {1, 10}), kNoError);
    ASSERT_EQ(rig.unwire({2, 14}, {3, 14}), kNoError);
    ASSERT_EQ(rig.wire({0, 10}, {2, 14}), kNoError);
    EXPECT_EQ(rig.wire({0, 5}, {0, 5}), kBadPort);
    // Either end out of range is refused, with the status of what is wrong.
    EXPECT_EQ(rig.wire({0, 5}, {kBoards, 5}), kBadBoard);
    EXPECT_EQ(rig.wire({0, 5}, {1, kBoardTable[1].ports}), kBadPort);
    EXPECT_EQ(rig.unwire({-1, 10}, {1, 10}), kBadBoard);
    EXPECT_EQ(rig.unwire({0, 10}, {1, 40}), kBadPort);

    ASSERT_EQ(rig.set_direction(2, 14, kOutput), kNoError);
    ASSERT_EQ(rig.write_port(2, 14, 7), kNoError);
    EXPECT_EQ(read(rig, 0, 10), 7);
    EXPECT_EQ(read(rig, 1, 10), 0);  // its old partner is undriven now
    EXPECT_EQ(peer_of(rig, {1, 10}).board, -1);

    rig.reset();
    EXPECT_EQ(peer_of(rig, {0, 10}).board, 1);
    EXPECT_EQ(rig.direction_of({2, 14}), kInput);
}

// The bytes of a file, all of them.
std::string contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

TEST_F(RigTest, ARigOfAnotherLayoutIsRefusedAndRenewedOnlyByReset)
{
    // A rig cut short within its header: its magic is still there.
    write_file(path_, "DAQGRIG");
    Rig rig;
    EXPECT_EQ(rig.open(path_), kRigLayout);
    EXPECT_FALSE(rig.is_open());
    EXPECT_EQ(
        rig.problem(),
        "'" + path_ + "' holds a rig of another layout or version (7 bytes): 'simboard reset' renews it");
    EXPECT_EQ(contents(path_), "DAQGRIG");

    // A file of the right size from another version.
    {
        const auto other = std::make_unique<RigLayout>();  // too large for the stack
        std::memcpy(other->magic, kMagic, sizeof kMagic);
        other->version = kVersion + 1;
        other->size = sizeof(RigLayout);
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(other.get()), sizeof(RigLayout));
    }
    Rig again;
    EXPECT_EQ(again.open(path_), kRigLayout);
    EXPECT_EQ(again.problem(), "'" + path_ + "' holds a rig of another layout or version (" +
                                   std::to_string(sizeof(RigLayout)) + " bytes): 'simboard reset' renews it");
    // Renewing it (simboard reset) makes it a rig again.
    Rig renewed;
    EXPECT_EQ(renewed.open(path_, true), kNoError);
    Rig after;
    EXPECT_EQ(after.open(path_), kNoError);
    // The cut one too.
    write_file(path_, "DAQGRIG");
    EXPECT_EQ(renewed.open(path_, true), kNoError);
    EXPECT_EQ(std::filesystem::file_size(path_), sizeof(RigLayout));
}

TEST_F(RigTest, AFileThatHoldsNoRigIsNeverWrittenOver)
{
    // Text, a file of a rig's size that is no rig, and a file shorter than
    // the magic: refused, with or without recreate, and left byte for byte.
    std::string rig_sized(sizeof(RigLayout), 'x');
    const std::vector<std::string> files = {"my thesis data\n", rig_sized, "DAQ", std::string("\0\0\0\0", 4)};
    for (const std::string &bytes : files) {
        write_file(path_, bytes);
        for (const bool recreate : {false, true}) {
            Rig rig;
            EXPECT_EQ(rig.open(path_, recreate), kRigNotRig) << bytes.size();
            EXPECT_EQ(rig.problem(), "'" + path_ + "' is not a rig (" + std::to_string(bytes.size()) +
                                         " bytes): remove it yourself if you mean to");
            EXPECT_FALSE(rig.is_open());
            EXPECT_TRUE(contents(path_) == bytes) << bytes.size();
        }
    }
}

TEST_F(RigTest, AnEmptyOrBlankFileIsMadeARigWithItsStorageHeld)
{
    for (const bool blank : {false, true}) {
        // Empty (a rig not yet made), or zeros of a rig's size (one whose
        // maker died before writing it), sparse either way.
        write_file(path_, "");
        if (blank)
            std::filesystem::resize_file(path_, sizeof(RigLayout));
        Rig rig;
        ASSERT_EQ(rig.open(path_), kNoError) << blank;
        struct stat info {};
        ASSERT_EQ(stat(path_.c_str(), &info), 0);
        EXPECT_EQ(static_cast<std::size_t>(info.st_size), sizeof(RigLayout));
        // Every block of it held, not a sparse file.
        EXPECT_GE(static_cast<std::size_t>(info.st_blocks) * 512, sizeof(RigLayout)) << blank;
        EXPECT_EQ(read(rig, 0, 1), 0);
    }
}

TEST_F(RigTest, AFileThatCannotBeOpenedGivesItsStatusAndReason)
{
    Rig rig;
    EXPECT_EQ(rig.open(dir_), kRigNotFile);  // a folder
    EXPECT_EQ(rig.problem(), "'" + dir_ + "' is a folder, not a regular file");
    EXPECT_EQ(rig.open(dir_ + "/missing/rig"), kRigOpen);
    EXPECT_EQ(rig.problem(), "cannot open '" + dir_ + "/missing/rig': No such file or directory");
    ASSERT_EQ(mkfifo((dir_ + "/pipe").c_str(), 0600), 0);
    EXPECT_EQ(rig.open(dir_ + "/pipe"), kRigNotFile);  // and not waiting for a writer
    EXPECT_EQ(rig.problem(), "'" + dir_ + "/pipe' is a pipe, not a regular file");
    EXPECT_EQ(rig.open("/dev/null"), kRigNotFile);
    EXPECT_EQ(rig.problem(), "'/dev/null' is a device, not a regular file");
    EXPECT_FALSE(rig.is_open());
}

// What a personal rig (the per-user default) must be: the user's alone.
TEST_F(RigTest, APersonalRigIsTheUsersAloneAndNeverALink)
{
    const auto refused = [&](const std::string &path, Status status, const std::string &problem) {
        Rig rig;
        EXPECT_EQ(rig.open(path, false, RigAccess::personal), status) << path;
        EXPECT_EQ(rig.problem(), problem);
        EXPECT_FALSE(rig.is_open());
    };
    const struct passwd *entry = getpwuid(geteuid());
    const std::string uid = "uid " + std::to_string(geteuid());
    const std::string mine = entry != nullptr ? std::string(entry->pw_name) + " (" + uid + ")" : uid;
    const std::string tail =
        ": the default rig must be a file of yours that no one else may use; remove it, or name another "
        "place "
        "in DAQGATE_RIG (or simboard's --rig)";
    // Made here: the user's, mode 0600, and usable.
    {
        Rig rig;
        ASSERT_EQ(rig.open(path_, false, RigAccess::personal), kNoError);
        struct stat info {};
        ASSERT_EQ(stat(path_.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
    }
    Rig taken;
    ASSERT_EQ(taken.open(path_, false, RigAccess::personal), kNoError);
    EXPECT_TRUE(taken.is_open());

    // Open to others: refused; the same file named is the user's choice.
    ASSERT_EQ(chmod(path_.c_str(), 0666), 0);
    refused(path_, kRigNotOwn, "'" + path_ + "' belongs to " + mine + ", mode 0666, 1 link" + tail);
    Rig named;
    EXPECT_EQ(named.open(path_), kNoError);
    ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
    refused(path_, kRigNotOwn, "'" + path_ + "' belongs to " + mine + ", mode 0640, 1 link" + tail);
    ASSERT_EQ(chmod(path_.c_str(), 0600), 0);

    // A second name: another user's link to it could reach it.
    ASSERT_EQ(link(path_.c_str(), (dir_ + "/second").c_str()), 0);
    refused(path_, kRigNotOwn, "'" + path_ + "' belongs to " + mine + ", mode 0600, 2 links" + tail);
    ASSERT_EQ(unlink((dir_ + "/second").c_str()), 0);

    // A symbolic link, to a rig or to a file of the user's: never followed,
    // and the file it names is left byte for byte.
    const std::string notes = dir_ + "/notes.txt", planted = dir_ + "/planted";
    write_file(notes, "my thesis data\n");
    for (const std::string &target : {notes, path_}) {
        ASSERT_EQ(symlink(target.c_str(), planted.c_str()), 0);
        const std::string before = contents(target);
        refused(planted, kRigNotFile, "'" + planted + "' is a symbolic link, not a regular file");
        Rig renewing;
        EXPECT_EQ(renewing.open(planted, true, RigAccess::personal), kRigNotFile);
        EXPECT_TRUE(contents(target) == before);
        ASSERT_EQ(unlink(planted.c_str()), 0);
    }
    // A dangling link is not followed to make a file where it points.
    ASSERT_EQ(symlink((dir_ + "/made").c_str(), planted.c_str()), 0);
    refused(planted, kRigNotFile, "'" + planted + "' is a symbolic link, not a regular file");
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/made"));
    ASSERT_EQ(unlink(planted.c_str()), 0);
}

TEST_F(RigTest, APersonalRigOfAnotherUserIsRefused)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user takes root";
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    ASSERT_EQ(chown(path_.c_str(), 65534, 65534), 0);
    Rig squatted;
    EXPECT_EQ(squatted.open(path_, false, RigAccess::personal), kRigNotOwn);
    EXPECT_EQ(squatted.problem().rfind("'" + path_ + "' belongs to ", 0), 0u) << squatted.problem();
    EXPECT_NE(squatted.problem().find("uid 65534), mode 0600, 1 link: "), std::string::npos)
        << squatted.problem();
    // The user's choice, named: taken as it is.
    EXPECT_EQ(squatted.open(path_), kNoError);
}

// A rig creation beyond the process's limit on file sizes, in a child: it
// is refused with what it needs, the child lives (no SIGXFSZ), and the file
// it made is left empty.
TEST_F(RigTest, ARigThatCannotHaveItsStorageIsRefused)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit limit {
            1 << 20, 1 << 20
        };
        setrlimit(RLIMIT_FSIZE, &limit);
        Rig rig;
        const Status status = rig.open(path_);
        const std::string wanted =
            "no room for the rig: " + std::to_string((sizeof(RigLayout) + (1 << 20) - 1) >> 20) +
            " MiB needed in " + dir_ + " (File too large)";
        _exit(status != kRigNoRoom ? 1 : rig.problem() != wanted ? 2 : rig.is_open() ? 3 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(std::filesystem::file_size(path_), 0u);
    // With room, the empty file is made a rig.
    Rig rig;
    EXPECT_EQ(rig.open(path_), kNoError);
}

TEST_F(RigTest, TwoProcessesShareOneRig)
{
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    ASSERT_EQ(rig.set_direction(0, 3, kOutput), kNoError);
    ASSERT_EQ(rig.write_port(0, 3, 0x1234), kNoError);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child opens the same file on its own and answers on board 1.
        Rig mine;
        uint16_t seen = 0;
        const bool ok = mine.open(path_) == kNoError && mine.read_port(1, 3, &seen) == kNoError &&
                        seen == 0x1234 && mine.set_direction(1, 4, kOutput) == kNoError &&
                        mine.write_port(1, 4, 0x4321) == kNoError;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(read(rig, 0, 4), 0x4321);
}

TEST_F(RigTest, ProcessesStartingTogetherOnAMissingRigGetTheSameValidRig)
{
    constexpr int kProcesses = 6;
    pid_t children[kProcesses];
    for (int i = 0; i < kProcesses; ++i) {
        children[i] = fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            Rig mine;
            // Each marks its own port: every mark must survive, so no
            // process may initialise the rig after another has used it.
            const bool ok = mine.open(path_) == kNoError && mine.set_direction(2, i, kOutput) == kNoError &&
                            mine.write_port(2, i, static_cast<uint16_t>(100 + i)) == kNoError;
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    for (int i = 0; i < kProcesses; ++i)
        EXPECT_EQ(read(rig, 3, i), 100 + i);
}

// The rig's layout as another process sees it, mapped for a test that
// plays a writer caught half way.
class Mapped {
public:
    explicit Mapped(const std::string &path)
    {
        fd_ = ::open(path.c_str(), O_RDWR);
        if (fd_ >= 0)
            map_ = mmap(nullptr, sizeof(RigLayout), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    }
    ~Mapped()
    {
        if (map_ != MAP_FAILED)
            munmap(map_, sizeof(RigLayout));
        if (fd_ >= 0)
            close(fd_);
    }
    RigLayout *operator->() const { return map_ == MAP_FAILED ? nullptr : static_cast<RigLayout *>(map_); }

private:
    int fd_ = -1;
    void *map_ = MAP_FAILED;
};

TEST_F(RigTest, AQueueLeftHalfWrittenIsTakenOverAndItsReaderDoesNotSpin)
{
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    const short first[] = {1, 2}, ranges[] = {0, 0};
    ASSERT_EQ(rig.set_gain_queue(2, first, ranges, 2), kNoError);
    Mapped other(path_);
    ASSERT_NE(other.operator->(), nullptr);
    EXPECT_EQ(other->boards[2].queue.sequence.load(), 2u);  // claimed at 1, handed back at 2

    // A writer that died between its claim and its hand-back.
    other->boards[2].queue.sequence.store(7);
    short c[kQueueLength], g[kQueueLength];
    int n = -1;
    EXPECT_EQ(rig.gain_queue(2, c, g, &n), kRigCorrupt);
    EXPECT_EQ(n, 0);
    const short second[] = {9, 8, 7}, second_ranges[] = {100, 101, 3};
    ASSERT_EQ(rig.set_gain_queue(2, second, second_ranges, 3), kNoError);
    EXPECT_EQ(other->boards[2].queue.sequence.load(), 10u);  // taken over at 9
    ASSERT_EQ(rig.gain_queue(2, c, g, &n), kNoError);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(std::vector<short>(c, c + 3), (std::vector<short>{9, 8, 7}));
    EXPECT_EQ(std::vector<short>(g, g + 3), (std::vector<short>{100, 101, 3}));

    // Another board's queue never waited on it, and a reset makes it even.
    EXPECT_EQ(other->boards[1].queue.sequence.load(), 0u);
    other->boards[2].queue.sequence.store(7);
    rig.reset();
    ASSERT_EQ(rig.gain_queue(2, c, g, &n), kNoError);
    EXPECT_EQ(n, 0);
}

TEST_F(RigTest, WritersOfOneQueueInTwoProcessesTakeTurns)
{
    // Each writer stores a whole queue of one channel; a reader must never
    // see a queue that mixes the two.
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    constexpr int kWrites = 20000;
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            Rig mine;
            if (mine.open(path_) != kNoError)
                _exit(1);
            short channels[kQueueLength], ranges[kQueueLength];
            for (int i = 0; i < kQueueLength; ++i) {
                channels[i] = static_cast<short>(w + 1);
                ranges[i] = w == 0 ? 0 : 100;
            }
            for (int i = 0; i < kWrites; ++i)
                if (mine.set_gain_queue(0, channels, ranges, kQueueLength) != kNoError)
                    _exit(1);
            _exit(0);
        }
    }
    int mixed = 0, whole = 0, running = 2;
    while (running > 0) {
        short c[kQueueLength], g[kQueueLength];
        int n = 0;
        if (rig.gain_queue(0, c, g, &n) == kNoError && n == kQueueLength) {
            ++whole;
            for (int i = 0; i < kQueueLength; ++i)
                mixed += c[i] != c[0] || g[i] != (c[0] == 1 ? 0 : 100);
        }
        for (pid_t &writer : writers) {
            int status = 0;
            if (writer > 0 && waitpid(writer, &status, WNOHANG) == writer) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                writer = 0;
                --running;
            }
        }
    }
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(whole, 0);
    Mapped other(path_);
    ASSERT_NE(other.operator->(), nullptr);
    EXPECT_EQ(other->boards[0].queue.sequence.load(), 2u * 2 * kWrites);
}

TEST_F(RigTest, EverySignalWriteMovesItsSequenceCountOnByTwo)
{
    // A scan in another process takes a signal when its count was even
    // before the copy and the same after: a write that came between must
    // leave the count where no earlier copy saw it, or half of an old and
    // half of a new signal would pass for settled.
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    Mapped other(path_);
    ASSERT_NE(other.operator->(), nullptr);
    std::atomic<uint32_t> &sequence = other->boards[1].signals[3].sequence;
    const uint32_t before = sequence.load();
    ASSERT_EQ(before % 2, 0u);
    for (uint32_t write = 1; write <= 3; ++write) {
        ASSERT_EQ(rig.set_signal(1, 3, Signal{SignalKind::sine, {1, 50, 0}}), kNoError);
        EXPECT_EQ(sequence.load(), before + 2 * write);
    }
    // A count a writer that died left odd: the next write ends it even.
    sequence.store(7);
    ASSERT_EQ(rig.set_signal(1, 3, Signal{SignalKind::dc, {2}}), kNoError);
    EXPECT_EQ(sequence.load(), 8u);
}

TEST_F(RigTest, AScribbledRecordingLengthMakesItsInputInvalid)
{
    Rig rig;
    ASSERT_EQ(rig.open(path_), kNoError);
    const std::vector<float> volts(100, 1.5f);
    ASSERT_EQ(rig.play(0, 6, volts.data(), 100, 1000.0, true, "r"), kNoError);
    Signal signal;
    ASSERT_EQ(rig.signal(0, 6, &signal), kNoError);
    ASSERT_EQ(signal.count, 100);
    Mapped other(path_);
    ASSERT_NE(other.operator->(), nullptr);
    std::atomic<int32_t> &count = other->recordings[signal.recording].count;
    uint16_t counts = 0;
    for (const int32_t scribbled : {0, -5, kRecordingValues + 1}) {
        count.store(scribbled);
        EXPECT_EQ(rig.signal(0, 6, &signal), kRigCorrupt) << scribbled;
        EXPECT_EQ(rig.read_analog(0, 6, 0, &counts), kRigCorrupt) << scribbled;
    }
    count.store(kRecordingValues);  // the longest a recording can be
    EXPECT_EQ(rig.signal(0, 6, &signal), kNoError);
}

TEST(StatusTexts, SpansFromZeroInWords)
{
    EXPECT_EQ(from_zero(1), "0");
    EXPECT_EQ(from_zero(2), "0 and 1");
    EXPECT_EQ(from_zero(3), "0 to 2");
    EXPECT_EQ(from_zero(16), "0 to 15");
}

TEST(StatusTexts, EveryStatusHasItsOwnTextAndUnknownCodesSaySo)
{
    // What cbErrorText tells a script, code by code, limits filled in from
    // the board table.
    const std::vector<std::string> texts = {
        "No error has occurred.",
        "Invalid board number: the simulated rig has boards 0 to 3.",
        "Invalid digital port code: the simulated boards have ports 0 to 31.",
        "Invalid port direction: use 1 for output or 2 for input.",
        "Digital port is configured as an input: set it to output before writing.",
        "The simulated rig file cannot be opened, created or mapped (see DAQGATE_RIG).",
        "The simulated rig file has another layout or version: run 'simboard reset' to renew it.",
        "Digital port is wired already: unwire it first.",
        "The two digital ports are not wired to each other.",
        "Invalid analog channel: inputs are 0 to 15, outputs 0 and 1.",
        "Invalid range code: use 0, 1, 2, 3 (bipolar 10, 5, 2.5, 1 V) or 100, 101 (unipolar 10, 5 V).",
        "The voltage is not a number.",
        "Invalid sample count: negative, too large, or past the end of the buffer.",
        "Invalid sample rate: it must be at least 1 scan per second.",
        "The buffer handle names no sample buffer of this process.",
        "Invalid options word: use 0 (foreground) or 3 (continuous background).",
        "Invalid function type: 1 is the analog input background scan.",
        "A background scan is running on this board already: stop it first.",
        "The simulated rig file was lost (shrunk, removed or replaced under this process): run 'simboard "
        "reset' to renew it.",
        "The simulated rig file holds invalid data (a process wrote over it, or died writing): run "
        "'simboard reset' to renew it.",
        "The simulated rig file stayed locked by another process for 5 seconds.",
        "The simulated rig has no room left: every fault or recording it holds is in use.",
        "The simulated rig file is not a regular file (a folder, link, device or pipe stands at its path): "
        "see "
        "DAQGATE_RIG.",
        "The simulated rig file belongs to another user or is open to others: the default rig must be yours "
        "alone; remove it, or name another place in DAQGATE_RIG.",
        "The file at the simulated rig's path is not a rig and is left as it is: remove it yourself, or name "
        "another place in DAQGATE_RIG.",
        "The simulated rig file cannot be given its storage: its file system is full, or a limit on file "
        "sizes "
        "stands in the way (see DAQGATE_RIG).",
        "Invalid signal: its kind is unknown, or a number of it is not finite or out of its range.",
    };
    // The texts that name a limit are those of the rig as built: four
    // boards of 32 ports, 16 inputs and 2 outputs, a 5 second lock wait.
    ASSERT_EQ(kBoards, 4);
    ASSERT_EQ(kPorts, 32);
    ASSERT_EQ(kAnalogInputs, 16);
    ASSERT_EQ(kAnalogOutputs, 2);
    ASSERT_EQ(RigFile::kLockSeconds, 5.0);
    ASSERT_EQ(texts.size(), static_cast<size_t>(kBadSignal) + 1);
    char text[256];
    for (int code = kNoError; code <= kBadSignal; ++code) {
        status_text(code, text, sizeof text);
        EXPECT_EQ(text, texts[code]) << code;
        EXPECT_LT(std::strlen(text), sizeof text - 1) << code;  // whole, not cut at the buffer's end
    }
    status_text(-77, text, sizeof text);
    EXPECT_STREQ(text, "Unknown error code -77.");
    status_text(kBadSignal + 1, text, sizeof text);
    EXPECT_STREQ(text, "Unknown error code 27.");
    // A short buffer gets a terminated start of the text.
    char small[8];
    status_text(kBusy, small, sizeof small);
    EXPECT_STREQ(small, "A backg");
    // No room at all: nothing is written, not even the end mark.
    char none[2] = {'x', 'y'};
    status_text(kBusy, none, 0);
    EXPECT_EQ(none[0], 'x');
    EXPECT_EQ(none[1], 'y');
    // The texts are made once: asked again, a text is the same.
    status_text(kBadBoard, text, sizeof text);
    EXPECT_STREQ(text, texts[kBadBoard].c_str());
}

}  // namespace
