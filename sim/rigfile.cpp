// rigfile.cpp - what the rig file's platform layers share: a RigFile moves
// what it holds to another, gives it back when it goes, and waits for its
// lock a bounded time.
#include <chrono>
#include <thread>
#include <utility>

#include "rigfile.h"

namespace daqgate::sim {

RigFile::RigFile(RigFile &&other) noexcept
{
    *this = std::move(other);
}

RigFile &RigFile::operator=(RigFile &&other) noexcept
{
    if (this != &other) {
        release();
        native_ = std::exchange(other.native_, Native{});
        access_ = other.access_;
        problem_ = std::move(other.problem_);
        reason_ = std::move(other.reason_);
        base_ = std::exchange(other.base_, nullptr);
        wanted_ = std::exchange(other.wanted_, 0);
        bytes_ = std::exchange(other.bytes_, 0);
        flag_ = std::exchange(other.flag_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

RigFile::~RigFile()
{
    release();
}

std::string default_rig_path()
{
    return default_rig().path;
}

Status RigFile::lock() const
{
    // Not a blocking lock: a process that holds the lock for ever must not
    // hold this one's call (and its host, deaf to signals) with it.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::duration<double>(kLockSeconds);
    for (;;) {
        switch (try_lock()) {
        case Attempt::taken: return kNoError;
        case Attempt::failed: return kRigOpen;
        case Attempt::busy: break;
        }
        if (std::chrono::steady_clock::now() >= give_up)
            return kRigLocked;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace daqgate::sim
