// attach.cpp - the slow path of the driver's calls on the rig.
#include "attach.h"

#include <mutex>

namespace daqgate::sim {

namespace {

std::mutex attaching;

// A lost rig is looked for anew at most this often, so that a script
// looping on a failing call does not open the file at every call.
constexpr double kRenewEvery = 0.05;
double last_renewal = -1e9;

// The look at the file takes system calls: made at most this often,
// however fast the calls come.
constexpr double kCheckSeconds = 0.02;
double last_check = -1e9;

// Takes a lost rig back when its file holds one made anew; under the
// lock of `attaching`.
bool renewed(Rig &rig, double now)
{
    if (now - last_renewal < kRenewEvery)
        return false;
    last_renewal = now;
    return rig.renew();
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
    if ((!open->lost() && open->check()) || renewed(*open, now))
        return open;
    *status = kRigLost;
    return nullptr;
}

Recovery recover(Rig &rig)
{
    const std::lock_guard<std::mutex> guard(attaching);
    if (!rig.lost() && rig.check())
        return Recovery::intact;
    return renewed(rig, monotonic_seconds()) ? Recovery::renewed : Recovery::lost;
}

}  // namespace daqgate::sim
