// buffers.h - the sample buffers of this process and their handles.
//
// A handle is a 32-bit tag with the buffer's slot number, 0xDA00xxxx,
// sign-extended to the pointer-sized handle type.  Its top bit is set, so
// a script sees it as a negative number, and any other value names no
// buffer: a stale or forged handle is refused, never dereferenced.
// Buffers belong to the process that allocated them and live as long as
// it does (there is no operation that releases one).
#ifndef DAQGATE_SIM_BUFFERS_H
#define DAQGATE_SIM_BUFFERS_H

#include <atomic>
#include <cstdint>
#include <mutex>

#include "cbw32.h"

namespace daqgate::sim {

struct SampleBuffer {
    uint16_t *samples;
    int size;
};

class BufferTable {
public:
    // Largest buffer, in samples (512 MiB).
    static constexpr int kMaxSamples = 1 << 28;

    BufferTable() = default;
    BufferTable(const BufferTable &) = delete;
    BufferTable &operator=(const BufferTable &) = delete;
    ~BufferTable();

    // A new zeroed buffer of count samples; 0 when count is not 1 to
    // kMaxSamples, memory is short, or every slot is taken.
    DaqHandle allocate(int count);

    // The buffer a handle names, or nullptr.  No lock: slots are written
    // once, before their handle is handed out.
    const SampleBuffer *find(DaqHandle handle) const;

private:
    static constexpr uint32_t kTag = 0xDA000000u;
    static constexpr int kSlots = 1 << 16;

    std::atomic<SampleBuffer *> slots_[kSlots] = {};
    int used_ = 0;  // slot 0 is never used
    std::mutex allocating_;
};

}  // namespace daqgate::sim

#endif
