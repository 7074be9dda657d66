// rigfile.cpp - what the rig file's platform layers share: a RigFile moves
// what it holds to another, and gives it back when it goes.
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

}  // namespace daqgate::sim
