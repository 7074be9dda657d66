// background.cpp - continuous scans made due by the clock.
#include "background.h"

#include <cmath>

namespace daqgate::sim {

Status BackgroundScans::start(int board, const SampleBuffer *buffer, int ring, const Pace &pace,
                              std::unique_ptr<ScanSource> source)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    Scan &scan = scans_[board];
    if (scan.running)
        return kBusy;
    scan.running = true;
    scan.buffer = buffer;
    scan.ring = ring;
    scan.source = std::move(source);
    scan.aggregate = pace.aggregate;
    scan.start = std::chrono::steady_clock::now();
    scan.made = 0;
    return kNoError;
}

bool BackgroundScans::running(int board)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    return scans_[board].running;
}

void BackgroundScans::catch_up(Scan &scan)
{
    if (!scan.running)
        return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - scan.start).count();
    const auto due = static_cast<int64_t>(std::floor(elapsed * scan.aggregate));
    if (due <= scan.made)
        return;
    // Only the newest ring's worth can still be in the ring.
    int64_t sample = due - scan.made > scan.ring ? due - scan.ring : scan.made;
    while (sample < due) {
        const int64_t position = sample % scan.ring;
        const int64_t n = std::min<int64_t>(due - sample, scan.ring - position);
        scan.source->fill(scan.buffer->samples + position, sample, n);
        sample += n;
    }
    scan.made = due;
}

void BackgroundScans::catch_up(const SampleBuffer *buffer)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    for (Scan &scan : scans_)
        if (scan.buffer == buffer)
            catch_up(scan);
}

Status BackgroundScans::status(int board, short *state, int *count, int *index)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    Scan &scan = scans_[board];
    catch_up(scan);
    *state = scan.running ? CB_RUNNING : 0;
    *count = static_cast<int>(static_cast<uint32_t>(scan.made));
    *index = scan.ring > 0 ? static_cast<int>(scan.made % scan.ring) : 0;
    return kNoError;
}

Status BackgroundScans::stop(int board)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    Scan &scan = scans_[board];
    catch_up(scan);
    scan.running = false;
    return kNoError;
}

}  // namespace daqgate::sim
