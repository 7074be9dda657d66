// capture.h - a logic analyser on the rig's ports: their values sampled
// over a stretch of time and written as a Value Change Dump.
#ifndef DAQGATE_TOOLS_CAPTURE_H
#define DAQGATE_TOOLS_CAPTURE_H

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "rig.h"

namespace daqgate::tools {

struct CaptureOutcome {
    int64_t samples = 0;   // every port read once per sample
    double seconds = 0;    // from the first sample to the last
    int64_t missed = 0;    // changes the ports' writers made that no sample saw
    bool written = false;  // the whole dump reached the file
};

// Samples ports for `seconds`, at `rate` samples a second or, for rate 0,
// as fast as it can, and writes the changes to out as a VCD: a timescale of
// 1 ns, times from the first sample.  `begun` runs once the first sample
// is taken; a set `stop` ends the capture early, the dump still whole.
CaptureOutcome capture(const sim::Rig &rig, const std::vector<sim::PortId> &ports, double seconds,
                       double rate, std::FILE *out, const std::function<void()> &begun,
                       const std::atomic<bool> &stop);

// The VCD identifier of the i-th signal: printable characters from '!'.
std::string vcd_identifier(std::size_t index);

}  // namespace daqgate::tools

#endif
