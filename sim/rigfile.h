// rigfile.h - the rig file of a process: opened, locked and mapped here,
// and looked at for its loss.  This is the simulator's platform layer; the
// rest of it sees a block of shared memory and a lock.
//
// Another process may shrink or replace the file under a running host at
// any time (a cleanup script, ': > file', a tool that recreates it).  A
// read of a mapped page that the file no longer backs raises SIGBUS: a
// handler that acts only on faults inside a rig's mapping puts zero pages
// in its place and marks the rig lost, and hands every other SIGBUS to the
// handler installed before it.  The handler is installed once, at the
// process's first mapping; one a host installs later replaces it.  A shrink that leaves the mapped pages
// backed (the tail of the last page cut away) raises nothing, and a file
// replaced under its name is not seen from the mapping at all: look()
// finds both, off the fast path.
//
// Text at the system's edge is the platform's too: paths and messages are
// UTF-8 throughout the simulator and its tools, and on Windows they meet
// the system in UTF-16 here.
#ifndef DAQGATE_SIM_RIGFILE_H
#define DAQGATE_SIM_RIGFILE_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "status.h"

namespace daqgate::sim {

// Who may use a rig file.  The per-user default is personal: every
// process of the user finds it by a fixed name in a folder others may
// write, so it must be the user's alone, or another user could hold it and
// reach into the user's boards.  A file named in DAQGATE_RIG or with
// --rig is the user's choice, which may be a rig a group shares on purpose.
enum class RigAccess { named, personal };

class RigFile {
public:
    // How long lock() waits for another process to let go of the file.
    static constexpr double kLockSeconds = 5.0;

    RigFile() = default;
    RigFile(const RigFile &) = delete;
    RigFile &operator=(const RigFile &) = delete;
    RigFile(RigFile &&other) noexcept;
    RigFile &operator=(RigFile &&other) noexcept;
    ~RigFile();

    // Opens the regular file at path, creating it when create is set and
    // it is missing (exclusively: never through a link planted meanwhile).
    // kNoError; kRigOpen (the system refused: problem() says why),
    // kRigNotFile (no regular file stands there), or for a personal rig
    // kRigNotOwn (not the effective user's alone).  A personal rig is
    // opened without following a symbolic link, and must be a regular file
    // of the effective user's with no permission for group or others and
    // a single link.
    Status open(const std::string &path, bool create, RigAccess access = RigAccess::named);
    bool is_open() const;
    const std::string &path() const { return path_; }
    // What went wrong last, in words that name the path, for a tool to
    // print; and the system's own reason for the last failed call.
    const std::string &problem() const { return problem_; }
    const std::string &reason() const { return reason_; }

    // The advisory lock of the file, between processes: kNoError, or
    // kRigLocked when another process holds it for kLockSeconds, or
    // kRigOpen when the lock cannot be taken at all.
    Status lock() const;
    void unlock() const;

    // The file's size in bytes, -1 if it cannot be told.
    int64_t size() const;
    // The first bytes of the file, read without a mapping: how many came.
    std::size_t read_head(void *into, std::size_t bytes) const;
    // A new size; and storage held for bytes from offset on, so that a
    // full file system shows here and never as a fault on the mapping
    // later.  kNoError, kRigNoRoom (no room, or a limit on file sizes) or
    // kRigOpen; reason() tells the system's reason.
    Status resize(std::size_t bytes);
    Status reserve(std::size_t offset, std::size_t bytes);

    // Maps the first bytes of the file, shared, guarded against SIGBUS.
    // nullptr on failure.  One mapping per file.
    void *map(std::size_t bytes);
    void *mapping() const { return base_; }

    // Whether the rig was lost: a fault hit its mapping (which now shows
    // zeros), or look() found the file no longer backs it.
    bool lost() const { return flag_ != nullptr && flag_->load(std::memory_order_acquire) != 0; }
    void mark_lost();

    // The look at the file, off the fast path: whether the file at path is
    // still the mapped one and still backs the whole mapping.  Marks the
    // rig lost if not.
    bool look();

    // Takes the rig back after a loss: maps the file now at path over the
    // old mapping, if it has the mapping's size and valid(its bytes) holds;
    // clears the loss.
    bool take_back(const std::function<bool(const void *)> &valid);

private:
    // One try at the lock, without waiting: the platform's part of lock().
    enum class Attempt { taken, busy, failed };
    Attempt try_lock() const;
    void release();

    // What the platform holds of the file.
#if defined(_WIN32)
    struct Native {
        void *file = nullptr;     // the file's HANDLE
        void *section = nullptr;  // the HANDLE of its file mapping
    };
#else
    struct Native {
        int fd = -1;
        int slot = -1;  // in the table of guarded mappings
    };
#endif

    // Sets reason_ from the system's last error; gives status.
    Status failed(Status status);

    Native native_;
    RigAccess access_ = RigAccess::named;
    std::string problem_, reason_;
    void *base_ = nullptr;
    std::size_t wanted_ = 0;            // the bytes asked for
    std::size_t bytes_ = 0;             // mapped, whole pages (POSIX), granules (Windows)
    std::atomic<int> *flag_ = nullptr;  // the mark of a loss
    std::string path_;
};

// Holds a rig file's lock for a scope.
class RigLock {
public:
    explicit RigLock(const RigFile &file) : file_(file), status_(file.lock()) {}
    RigLock(const RigLock &) = delete;
    RigLock &operator=(const RigLock &) = delete;
    ~RigLock()
    {
        if (status_ == kNoError)
            file_.unlock();
    }
    Status status() const { return status_; }

private:
    const RigFile &file_;
    Status status_;
};

// Seconds on the monotonic clock.
double monotonic_seconds();

// Keeps the library that holds this code loaded until the process ends:
// the driver's buffers and scans live as long as the process, as a
// board's do, whoever unloads the gateways that use it.
void keep_loaded();

// The rig file of this process when none is named: $DAQGATE_RIG, or a
// per-user file in shared memory (on Windows %TEMP%\daqgate-rig), which is
// personal; and that rule in words, for a tool's help.
struct RigPlace {
    std::string path;
    RigAccess access = RigAccess::named;
};
RigPlace default_rig();
std::string default_rig_path();
const char *default_rig_text();

// Opens the file at a UTF-8 path as std::fopen does.
std::FILE *open_file_utf8(const std::string &path, const char *mode);

#if defined(_WIN32)
// Between UTF-8 and Windows' UTF-16: an empty string for text that is not
// valid in its encoding.
std::wstring utf16(const std::string &text);
std::string utf8(const std::wstring &text);
#endif

}  // namespace daqgate::sim

#endif
