// vcd.h - the Value Change Dump (IEEE 1364) that a capture writes: its
// forms, its time scales, and the writer of its header and changes.  It
// knows nothing of how the states it writes were sampled.
#ifndef DAQGATE_TOOLS_VCD_H
#define DAQGATE_TOOLS_VCD_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "rig.h"

namespace daqgate::tools {

// How a dump shows a port: one 16-bit vector (GTKWave, scripts), or
// sixteen one-bit wires (sigrok and PulseView, which take one-bit wires).
enum class DumpForm { vectors, bits };

// The wires of each captured port that the bits form writes, bit N of
// the mask for wire N; all 16 where the list is empty or short.
using BitMasks = std::vector<uint16_t>;
constexpr uint16_t kAllBits = 0xffff;
uint16_t bit_mask(const BitMasks &masks, std::size_t port);

// The captured ports that carry one end of the text link: indices among
// them of its data port and its two flag ports.
struct LinkWires {
    bool present = false;
    std::size_t data = 0, sender = 0, receiver = 0;
};

// What a dump holds, for the views written beside it: its ticks, the
// wires that changed, and where the first change and the link's first
// transfer lie.
struct DumpSummary {
    int exponent = -9;          // the time scale, as timescale_exponent's
    int64_t end = 0;            // the dump's last tick
    int64_t first_change = -1;  // the tick of the first change after time 0
    int64_t early_end = -1;     // that of the eighth, or of the last before it
    std::vector<uint16_t> changed;  // each port's bits that ever changed
    // The link's first transfer: from its first request to the done of the
    // line feed that ends it, or to the dump's end; -1 when none began.
    int64_t transfer_begin = -1, transfer_end = -1;
};

// The VCD identifier of the i-th signal: printable characters from '!'.
std::string vcd_identifier(std::size_t index);

// The largest power of ten, as an exponent of seconds from -9 to 0, at or
// below a sample period; and its VCD time scale, such as "100 ns".
int timescale_exponent(double period);
std::string timescale_text(int exponent);

// A state of every port at a time from the first sample; unknown while
// the rig is lost.
struct DumpEvent {
    int64_t ns = 0;
    std::vector<uint16_t> values;
    bool unknown = false;
};

// The coarsest time scale at which a run of changes keeps a tick of its
// own each, after the tick 0 of the state the dump starts from.
class ScaleChooser {
public:
    // A change `ns` nanoseconds into the dump, later than the one before.
    void change(int64_t ns);
    // The exponent of seconds, -9 to 0.
    int exponent() const;

private:
    static constexpr int kScales = 10;  // 1 ns .. 1 s
    int64_t last_[kScales] = {};
    bool fits_[kScales] = {true, true, true, true, true, true, true, true, true, true};
};

// The dump itself: its header, then each change at its time.
class DumpWriter {
public:
    DumpWriter(std::FILE *out, DumpForm form, const std::vector<sim::PortId> &ports,
               const BitMasks &bits = {}, const LinkWires &link = {});

    // The header, and the state the dump starts from at time 0.
    void header(int exponent, const DumpEvent &initial);

    // A state at `tick`, raised to one past the last if it is not past it:
    // times rise strictly.
    void change(int64_t tick, const DumpEvent &event);

    // The end of the capture, where it lies past the last change.
    void end(int64_t tick);

    // What was written so far (its exponent, from the header).
    const DumpSummary &summary() const { return summary_; }

private:
    void put(std::size_t i, uint16_t value, bool unknown, bool whole);
    void follow_link(int64_t tick, const DumpEvent &event);

    std::FILE *out_;
    DumpForm form_;
    const std::vector<sim::PortId> &ports_;
    std::vector<uint16_t> masks_;  // the wires written of each port
    std::vector<std::string> ids_;  // by port * 16 + bit (bits), or by port (vectors)
    LinkWires link_;
    std::vector<uint16_t> values_;
    bool unknown_ = false;
    int64_t last_ = 0;
    DumpSummary summary_;
    int byte_ = -1;  // the link's byte under request
    int64_t count_ = 0;  // changes written
};

}  // namespace daqgate::tools

#endif
