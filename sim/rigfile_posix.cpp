// rigfile_posix.cpp - the rig file on POSIX: open, flock, mmap, and the SIGBUS
// guard of the mappings.
#include "rigfile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace daqgate::sim {

namespace {

// The guarded mappings of this process.  The signal handler reads them, so
// they are lock-free atomics in a fixed table.
struct Guarded {
    std::atomic<uintptr_t> base{0};
    std::atomic<std::size_t> bytes{0};
    std::atomic<int> lost{0};
};
static_assert(std::atomic<uintptr_t>::is_always_lock_free && std::atomic<std::size_t>::is_always_lock_free &&
                  std::atomic<int>::is_always_lock_free,
              "the SIGBUS handler reads the guarded mappings");
constexpr int kGuarded = 32;
Guarded guarded[kGuarded];

// The guard is installed once per process, at the first mapping, and
// never again: what handled SIGBUS before it is saved once, before the
// guard is installed, and published to the handler through an atomic
// pointer, so the handler only ever reads a saved action that is whole
// and never rewritten.  A handler that a host installs later is the
// host's to keep; if it hands on the faults it does not know, as a
// well-behaved one does, the rigs' faults still reach the guard.
struct sigaction previous_saved;
std::atomic<const struct sigaction *> previous{nullptr};
static_assert(std::atomic<const struct sigaction *>::is_always_lock_free,
              "the SIGBUS handler reads the saved action");
std::once_flag guard_once;

// Hands a SIGBUS that is no rig's to whoever handled SIGBUS before.
void chain_sigbus(int sig, siginfo_t *info, void *context)
{
    const struct sigaction *before = previous.load(std::memory_order_acquire);
    if (before != nullptr && (before->sa_flags & SA_SIGINFO) != 0 && before->sa_sigaction != nullptr) {
        before->sa_sigaction(sig, info, context);
    } else if (before == nullptr || before->sa_handler == SIG_DFL || before->sa_handler == SIG_IGN) {
        // The fault recurs on return and ends the process as it would have.
        signal(SIGBUS, SIG_DFL);
    } else {
        before->sa_handler(sig);
    }
}

void on_sigbus(int sig, siginfo_t *info, void *context)
{
    const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    for (Guarded &g : guarded) {
        const uintptr_t base = g.base.load(std::memory_order_acquire);
        const std::size_t bytes = g.bytes.load(std::memory_order_acquire);
        if (base == 0 || address < base || address >= base + bytes)
            continue;
        // The file under the mapping shrank: zero pages take its place,
        // so that the faulting access and every later one read zeros,
        // and the rig is marked lost for the driver to say so.  Were
        // there no pages to be had, the access would fault for ever:
        // the fault is then handled as no rig's.
        if (mmap(reinterpret_cast<void *>(base), bytes, PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED)
            break;
        g.lost.store(1, std::memory_order_release);
        return;
    }
    chain_sigbus(sig, info, context);
}

void install_guard()
{
    // A failed look leaves the saved action zeroed: SIG_DFL.
    sigaction(SIGBUS, nullptr, &previous_saved);
    previous.store(&previous_saved, std::memory_order_release);
    struct sigaction ours {};
    ours.sa_sigaction = on_sigbus;
    ours.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&ours.sa_mask);
    sigaction(SIGBUS, &ours, nullptr);
}

void guard_sigbus()
{
    std::call_once(guard_once, install_guard);
}

std::size_t whole_pages(std::size_t bytes)
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

// What stands at a path that is no regular file, in words.
const char *kind_of(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISLNK(mode))
        return "a symbolic link";
    if (S_ISFIFO(mode))
        return "a pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "not a regular file";
}

std::string quoted(const std::string &path)
{
    return "'" + path + "'";
}

std::string user_named(uid_t uid)
{
    struct passwd entry {
    }, *found = nullptr;
    char buffer[1024];
    std::string name = "uid " + std::to_string(uid);
    if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr)
        name = std::string(found->pw_name) + " (" + name + ")";
    return name;
}

std::string octal_mode(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// Whether a personal rig is the effective user's alone: owned by them, no
// permission for group or others, and one name.
bool alone(const struct stat &info)
{
    return info.st_uid == geteuid() && (info.st_mode & 077) == 0 && info.st_nlink == 1;
}

std::string not_alone(const std::string &path, const struct stat &info)
{
    return quoted(path) + " belongs to " + user_named(info.st_uid) + ", mode " + octal_mode(info.st_mode) +
           ", " + std::to_string(info.st_nlink) + (info.st_nlink == 1 ? " link" : " links") +
           ": the default rig must be a file of yours that no one else may use; remove it, or name another "
           "place in DAQGATE_RIG (or simboard's --rig)";
}

// Opens what stands at path for a rig: the file's descriptor, or -1 with
// the status and the problem in words.
int open_rig(const std::string &path, bool create, RigAccess access, Status *status, std::string *problem)
{
    // Not blocking on a pipe that no one writes; nor following a link
    // planted at a personal rig's name.
    const int flags =
        O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (access == RigAccess::personal ? O_NOFOLLOW : 0);
    int fd = -1;
    int error = 0;
    for (int tries = 0; tries < 8; ++tries) {
        fd = ::open(path.c_str(), flags);
        error = errno;
        if (fd >= 0 || error != ENOENT || !create)
            break;
        // Missing: made here and now, never through a link put in its place
        // meanwhile; another process that made it first wins, and it is
        // opened as it stands.
        fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0600);
        error = errno;
        if (fd >= 0 || error != EEXIST)
            break;
    }
    struct stat info {};
    if (fd < 0) {
        if (lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            *status = kRigNotFile;
            *problem = quoted(path) + " is " + kind_of(info.st_mode) + ", not a regular file";
        } else {
            *status = kRigOpen;
            *problem = "cannot open " + quoted(path) + ": " + std::strerror(error);
        }
        return -1;
    }
    if (fstat(fd, &info) != 0) {
        *status = kRigOpen;
        *problem = "cannot look at " + quoted(path) + ": " + std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        // Only a regular file keeps its contents for every process that maps it.
        *status = kRigNotFile;
        *problem = quoted(path) + " is " + kind_of(info.st_mode) + ", not a regular file";
    } else if (access == RigAccess::personal && !alone(info)) {
        *status = kRigNotOwn;
        *problem = not_alone(path, info);
    } else {
        *status = kNoError;
        return fd;
    }
    ::close(fd);
    return -1;
}

Status no_room_or(int error, Status otherwise)
{
    return error == ENOSPC || error == EFBIG || error == EDQUOT ? kRigNoRoom : otherwise;
}

// Whether a file may reach `end` bytes under the process's limit on file
// sizes.  Growing past it raises SIGXFSZ, which ends a process (a host)
// that does not handle it: the size is refused here instead.
bool within_size_limit(std::size_t end)
{
    struct rlimit limit {};
    return getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           static_cast<rlim_t>(end) <= limit.rlim_cur;
}

}  // namespace

double monotonic_seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

RigPlace default_rig()
{
    if (const char *path = std::getenv("DAQGATE_RIG"); path != nullptr && *path != '\0')
        return {path, RigAccess::named};
    return {"/dev/shm/daqgate-rig-" + std::to_string(getuid()), RigAccess::personal};
}

const char *default_rig_text()
{
    return "$DAQGATE_RIG or a per-user file in /dev/shm";
}

std::FILE *open_file_utf8(const std::string &path, const char *mode)
{
    // The system takes a path's bytes as they are.
    return std::fopen(path.c_str(), mode);
}

void keep_loaded()
{
    // The driver library is linked with -z nodelete.
}

bool RigFile::is_open() const
{
    return native_.fd >= 0;
}

void RigFile::release()
{
    if (native_.slot >= 0) {
        guarded[native_.slot].base.store(0, std::memory_order_release);
        guarded[native_.slot].lost.store(0, std::memory_order_relaxed);
        native_.slot = -1;
        flag_ = nullptr;
    }
    if (base_ != nullptr)
        munmap(base_, bytes_);
    base_ = nullptr;
    bytes_ = wanted_ = 0;
    if (native_.fd >= 0)
        ::close(native_.fd);
    native_.fd = -1;
}

Status RigFile::open(const std::string &path, bool create, RigAccess access)
{
    release();
    path_ = path;
    access_ = access;
    problem_.clear();
    reason_.clear();
    Status status = kNoError;
    const int fd = open_rig(path, create, access, &status, &problem_);
    if (fd < 0)
        return status;
    native_.fd = fd;
    return kNoError;
}

Status RigFile::failed(Status status)
{
    reason_ = std::strerror(errno);
    return status;
}

RigFile::Attempt RigFile::try_lock() const
{
    for (;;) {
        if (flock(native_.fd, LOCK_EX | LOCK_NB) == 0)
            return Attempt::taken;
        if (errno != EINTR)
            return errno == EWOULDBLOCK ? Attempt::busy : Attempt::failed;
    }
}

void RigFile::unlock() const
{
    flock(native_.fd, LOCK_UN);
}

int64_t RigFile::size() const
{
    struct stat info {};
    if (native_.fd < 0 || fstat(native_.fd, &info) != 0)
        return -1;
    return static_cast<int64_t>(info.st_size);
}

std::size_t RigFile::read_head(void *into, std::size_t bytes) const
{
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t read =
            pread(native_.fd, static_cast<char *>(into) + got, bytes - got, static_cast<off_t>(got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        got += static_cast<std::size_t>(read);
    }
    return got;
}

Status RigFile::resize(std::size_t bytes)
{
    if (!within_size_limit(bytes)) {
        errno = EFBIG;
        return failed(kRigNoRoom);
    }
    if (ftruncate(native_.fd, static_cast<off_t>(bytes)) == 0)
        return kNoError;
    return failed(no_room_or(errno, kRigOpen));
}

Status RigFile::reserve(std::size_t offset, std::size_t bytes)
{
    // A file system that cannot reserve has the C library write the blocks
    // instead; both fail alike when there is no room.
    if (!within_size_limit(offset + bytes)) {
        errno = EFBIG;
        return failed(kRigNoRoom);
    }
    const int error = posix_fallocate(native_.fd, static_cast<off_t>(offset), static_cast<off_t>(bytes));
    if (error == 0)
        return kNoError;
    errno = error;
    return failed(no_room_or(error, kRigOpen));
}

void *RigFile::map(std::size_t bytes)
{
    if (native_.fd < 0 || base_ != nullptr)
        return nullptr;
    int slot = -1;
    for (int i = 0; i < kGuarded && slot < 0; ++i) {
        uintptr_t free = 0;
        // Reserve the slot with a base no mapping has; set below.
        if (guarded[i].base.compare_exchange_strong(free, 1))
            slot = i;
    }
    if (slot < 0)
        return nullptr;  // more rigs mapped at once than can be guarded
    const std::size_t whole = whole_pages(bytes);
    void *base = mmap(nullptr, whole, PROT_READ | PROT_WRITE, MAP_SHARED, native_.fd, 0);
    if (base == MAP_FAILED) {
        guarded[slot].base.store(0);
        return nullptr;
    }
    guard_sigbus();
    guarded[slot].lost.store(0, std::memory_order_relaxed);
    guarded[slot].bytes.store(whole, std::memory_order_release);
    guarded[slot].base.store(reinterpret_cast<uintptr_t>(base), std::memory_order_release);
    base_ = base;
    wanted_ = bytes;
    bytes_ = whole;
    native_.slot = slot;
    flag_ = &guarded[slot].lost;
    return base;
}

void RigFile::mark_lost()
{
    if (native_.slot >= 0)
        guarded[native_.slot].lost.store(1, std::memory_order_release);
}

bool RigFile::look()
{
    if (lost())
        return false;
    struct stat mine {
    }, named{};
    const bool backed = fstat(native_.fd, &mine) == 0 && mine.st_nlink > 0 &&
                        static_cast<std::size_t>(mine.st_size) >= wanted_ &&
                        stat(path_.c_str(), &named) == 0 && named.st_dev == mine.st_dev &&
                        named.st_ino == mine.st_ino;
    if (!backed)
        mark_lost();
    return backed;
}

bool RigFile::take_back(const std::function<bool(const void *)> &valid)
{
    if (base_ == nullptr)
        return false;
    // The file now at the name, held to what the first open held it to.
    Status status = kNoError;
    std::string problem;
    const int fd = open_rig(path_, false, access_, &status, &problem);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && static_cast<std::size_t>(info.st_size) >= wanted_;
    if (ok) {
        // Looked at through a mapping of its own before it replaces ours.
        void *look = mmap(nullptr, bytes_, PROT_READ, MAP_SHARED, fd, 0);
        ok = look != MAP_FAILED && valid(look);
        if (look != MAP_FAILED)
            munmap(look, bytes_);
    }
    if (ok)
        ok = mmap(base_, bytes_, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED, fd, 0) == base_;
    if (!ok) {
        ::close(fd);
        return false;
    }
    ::close(native_.fd);
    native_.fd = fd;
    guarded[native_.slot].lost.store(0, std::memory_order_release);
    return true;
}

}  // namespace daqgate::sim
