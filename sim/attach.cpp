// attach.cpp - the slow path of the driver's calls on the rig.
#include "attach.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

namespace daqgate::sim {

namespace {

std::mutex attaching;

// A lost rig is looked for anew at most this often, so that a script
// looping on a failing call does not open the file at every call...
constexpr double kRenewEvery = 0.05;
double last_renewal = -1e9;

// ... unless the file changed since the last look (grown back, written,
// replaced): a host that met a lost rig takes a renewed one at its next
// call, not up to kRenewEvery later.  A change this does not see (a rig
// made anew in place through a mapping, which need not touch the file's
// time) still waits for kRenewEvery.
struct Look {
    bool taken = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written{};
    bool operator==(const Look &other) const
    {
        return taken == other.taken && size == other.size && written == other.written;
    }
};
Look last_look;

Look look_at(const std::string &path)
{
    Look look;
    std::error_code sized, timed;
    look.size = std::filesystem::file_size(path, sized);
    look.written = std::filesystem::last_write_time(path, timed);
    look.taken = !sized && !timed;
    return look;
}

// The look at the file takes system calls: made at most this often,
// however fast the calls come.
constexpr double kCheckSeconds = 0.02;
double last_check = -1e9;

// Takes a lost rig back when its file holds one made anew; under the
// lock of `attaching`.
bool renewed(Rig &rig, double now)
{
    const Look look = look_at(rig.path());
    if (look == last_look && now - last_renewal < kRenewEvery)
        return false;
    last_renewal = now;
    last_look = look;
    return rig.take_back();
}

}  // namespace

Rig *attend(Status *status)
{
    const std::lock_guard<std::mutex> guard(attaching);
    Rig *open = attached.load(std::memory_order_acquire);
    if (open == nullptr) {
        // Lives as long as the process: other threads may hold it.
        auto *fresh = new Rig;
        *status = fresh->open(default_rig_path());
        if (*status != kNoError) {
            delete fresh;
            return nullptr;
        }
        keep_loaded();
        attached.store(fresh, std::memory_order_release);
        return fresh;
    }
    const double now = monotonic_seconds();
    if (!open->lost() && now - last_check < kCheckSeconds)
        return open;
    last_check = now;
    if ((!open->lost() && open->look()) || renewed(*open, now))
        return open;
    *status = kRigLost;
    return nullptr;
}

Recovery recover(Rig &rig)
{
    const std::lock_guard<std::mutex> guard(attaching);
    if (!rig.lost() && rig.look())
        return Recovery::intact;
    return renewed(rig, monotonic_seconds()) ? Recovery::renewed : Recovery::lost;
}

}  // namespace daqgate::sim
