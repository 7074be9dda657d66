// attach.cpp - the slow path of the driver's calls on the rig.
#include "attach.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

#include "periods.h"

namespace daqgate::sim {

namespace {

std::mutex attaching;

// Taking a lost rig back is tried at most every kTakeBackPeriod...
double last_take_back = -1e9;

// ... unless the file changed since the last try (grown back, written,
// replaced): a host that met a lost rig takes a renewed one back at its
// next call, not up to kTakeBackPeriod later.  A change this does not see
// (a rig made anew in place through a mapping, which need not touch the
// file's time) still waits for kTakeBackPeriod.
struct Stamp {
    bool known = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written{};
    bool operator==(const Stamp &other) const
    {
        return known == other.known && size == other.size && written == other.written;
    }
};
Stamp last_stamp;

Stamp stamp_of(const std::string &path)
{
    Stamp stamp;
    std::error_code sized, timed;
    stamp.size = std::filesystem::file_size(path, sized);
    stamp.written = std::filesystem::last_write_time(path, timed);
    stamp.known = !sized && !timed;
    return stamp;
}

// When the file was last looked at (at most every kLookPeriod).
double last_look = -1e9;

// Takes a lost rig back when its file holds one made anew, tried no more
// often than the above allows; under the lock of `attaching`.
bool try_take_back(Rig &rig, double now)
{
    const Stamp stamp = stamp_of(rig.path());
    if (stamp == last_stamp && now - last_take_back < seconds_of(kTakeBackPeriod))
        return false;
    last_take_back = now;
    last_stamp = stamp;
    return rig.take_back();
}

// The file of a rig not yet known lost looked at, and a lost rig (lost
// before, or found so by the look) taken back if it can be; under the
// lock of `attaching`.
Standing look_or_take_back_locked(Rig &rig, double now)
{
    if (!rig.lost() && rig.look())
        return Standing::intact;
    return try_take_back(rig, now) ? Standing::taken_back : Standing::lost;
}

}  // namespace

Rig *rig_for_call(Status *status)
{
    const std::lock_guard<std::mutex> guard(attaching);
    Rig *open = attached.load(std::memory_order_acquire);
    if (open == nullptr) {
        // Lives as long as the process: other threads may hold it.
        auto *fresh = new Rig;
        const RigPlace place = default_rig();
        *status = fresh->open(place.path, false, place.access);
        if (*status != kNoError) {
            delete fresh;
            return nullptr;
        }
        keep_loaded();
        attached.store(fresh, std::memory_order_release);
        return fresh;
    }
    const double now = monotonic_seconds();
    if (!open->lost() && now - last_look < seconds_of(kLookPeriod))
        return open;
    last_look = now;
    if (look_or_take_back_locked(*open, now) != Standing::lost)
        return open;
    *status = kRigLost;
    return nullptr;
}

Standing look_or_take_back(Rig &rig)
{
    const std::lock_guard<std::mutex> guard(attaching);
    return look_or_take_back_locked(rig, monotonic_seconds());
}

}  // namespace daqgate::sim
