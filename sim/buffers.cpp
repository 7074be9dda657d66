// buffers.cpp - sample buffers of this process.
#include "buffers.h"

#include <new>

namespace daqgate::sim {

DaqHandle BufferTable::allocate(int count)
{
    if (count < 1 || count > kMaxSamples)
        return 0;
    const std::lock_guard<std::mutex> guard(allocating_);
    if (used_ + 1 >= kSlots)
        return 0;
    auto *samples = new (std::nothrow) uint16_t[static_cast<size_t>(count)]();
    auto *buffer = new (std::nothrow) SampleBuffer{samples, count};
    if (samples == nullptr || buffer == nullptr) {
        delete[] samples;
        delete buffer;
        return 0;
    }
    const int slot = ++used_;
    slots_[slot].store(buffer, std::memory_order_release);
    return static_cast<DaqHandle>(static_cast<int32_t>(kTag | static_cast<uint32_t>(slot)));
}

BufferTable::~BufferTable()
{
    for (auto &slot : slots_) {
        const SampleBuffer *buffer = slot.load(std::memory_order_acquire);
        if (buffer != nullptr) {
            delete[] buffer->samples;
            delete buffer;
        }
    }
}

const SampleBuffer *BufferTable::find(DaqHandle handle) const
{
    // Only the sign-extended 32-bit tag with a slot in range names a buffer.
    if (handle != static_cast<DaqHandle>(static_cast<int32_t>(handle)))
        return nullptr;
    const auto bits = static_cast<uint32_t>(handle);
    if ((bits & 0xFFFF0000u) != kTag)
        return nullptr;
    return slots_[bits & 0xFFFFu].load(std::memory_order_acquire);
}

}  // namespace daqgate::sim
