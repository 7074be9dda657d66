// capture.h - a logic analyser on the rig's ports: their values sampled
// over a stretch of time and written as a Value Change Dump.
#ifndef DAQGATE_TOOLS_CAPTURE_H
#define DAQGATE_TOOLS_CAPTURE_H

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "rig.h"
#include "vcd.h"

namespace daqgate::tools {

// A condition on one captured port that starts the dump.
struct Trigger {
    enum class Kind { none, equals, rise, fall, change };
    Kind kind = Kind::none;
    std::size_t port = 0;  // among the captured ports
    uint16_t value = 0;    // for equals
    // rise: from 0 to nonzero; fall: from nonzero to 0; change: any change.
};

struct CaptureSettings {
    std::vector<sim::PortId> ports;
    double seconds = 0;  // from the first sample, or from the trigger
    double rate = 0;     // samples a second; 0 for as fast as it can
    DumpForm form = DumpForm::vectors;
    BitMasks bits;       // the bits form's wires; all 16 of each by default
    LinkWires link;        // followed for the views: where its first transfer lies
    // The bits form without a rate waits for its last change to choose its
    // time scale; its changes wait here meanwhile (a temporary file of its
    // own when null).
    std::FILE *spool = nullptr;
    Trigger trigger;
    double pre = 0;   // seconds of samples before the trigger in the dump
    double wait = 0;  // the longest wait for the trigger; 0 until stopped
};

struct CaptureOutcome {
    int64_t samples = 0;     // consistent states of every port taken
    double seconds = 0;      // from the first sample to the last
    int64_t missed = 0;      // changes the writers made that no sample saw
    int losses = 0;          // times the rig was lost under the capture
    bool lost = false;       // and not taken back by the end
    bool triggered = false;  // whether the dump began (always, without a trigger)
    bool written = false;    // the whole dump reached the stream
    DumpSummary summary;     // of the dump written
};

// What a capture tells as it goes.
struct CaptureEvents {
    std::function<void()> begun;                    // the first sample is taken
    std::function<void(double)> triggered;          // seconds from the first sample
    std::function<void(const std::string &)> warn;  // a loss, a taking back
};

// Samples the ports, each sample a state they all held at one instant, and
// writes their changes to out as a VCD, times from the start of the dump.
// The vector form's time scale is 1 ns; the bits form's at a rate is the
// sample period, a power of ten at or below it; the bits form's without a
// rate is the coarsest power of ten (1 ns to 1 s) at which every change
// of its wires still falls at a time of its own, in its order.  A set `stop` ends the capture early, the dump still whole.  A rig
// lost meanwhile shows as unknown values until the rig is renewed and
// taken back.  Without a trigger met, nothing is written to out.
CaptureOutcome capture(sim::Rig &rig, const CaptureSettings &settings, std::FILE *out,
                       const CaptureEvents &events, const std::atomic<bool> &stop);

}  // namespace daqgate::tools

#endif
