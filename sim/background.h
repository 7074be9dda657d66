// background.h - the continuous scans of this process, one per board at
// most, filling their buffers as rings.
//
// No thread runs a scan.  Its samples are made when they are due: every
// driver call that looks at a scan or copies from its buffer first brings
// the ring up to date from the monotonic clock, (now - start) * rate
// samples in all, computed from the start each time so that no rounding
// accumulates.  A scan therefore keeps real time whether or not anyone
// fetches, and nothing runs inside the library when no call is under way:
// unloading it or leaving the process with a scan running is harmless.
//
// A scan belongs to the process that started it.  Another process on the
// same rig sees no scan on the board (state 0) and may start its own.
#ifndef DAQGATE_SIM_BACKGROUND_H
#define DAQGATE_SIM_BACKGROUND_H

#include <chrono>
#include <memory>
#include <mutex>

#include "analog.h"
#include "buffers.h"
#include "rig.h"

namespace daqgate::sim {

class BackgroundScans {
public:
    // Starts a scan of ring samples into buffer; kBusy if one runs on the board.
    Status start(int board, const SampleBuffer *buffer, int ring, const Pace &pace,
                 std::unique_ptr<ScanSource> source);
    bool running(int board);
    // State 1 while running, 0 otherwise; the count (modulo 2^32) and the
    // ring index one past the newest sample.
    Status status(int board, short *state, int *count, int *index);
    Status stop(int board);
    // Brings every scan into buffer up to date, before a copy from it.
    void catch_up(const SampleBuffer *buffer);

private:
    struct Scan {
        bool running = false;
        const SampleBuffer *buffer = nullptr;
        int ring = 0;
        std::unique_ptr<ScanSource> source;
        double aggregate = 0;
        std::chrono::steady_clock::time_point start;
        int64_t made = 0;  // samples made since the start
    };
    void catch_up(Scan &scan);

    Scan scans_[kBoards];
    std::mutex mutex_;  // a host may call the driver from several threads
};

}  // namespace daqgate::sim

#endif
