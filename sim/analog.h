// analog.h - the analog front end of the simulated boards: ranges and the
// 16-bit converters, the signals on the inputs, and the pacer.
#ifndef DAQGATE_SIM_ANALOG_H
#define DAQGATE_SIM_ANALOG_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "boards.h"

namespace daqgate::sim {

// The span of volts a range code names.
struct Range {
    double low;
    double high;
};

// The ranges of the boards, one row a code: a range is bipolar (low is
// -high) or unipolar (low is 0).  find_range, the status text of a bad
// code and the help's list of codes are all made from this table.
struct RangeRow {
    int code;
    Range span;
};
inline constexpr RangeRow kRanges[] = {
    {0, {-10.0, 10.0}}, {1, {-5.0, 5.0}},   {2, {-2.5, 2.5}},
    {3, {-1.0, 1.0}},   {100, {0.0, 10.0}}, {101, {0.0, 5.0}},
};

// The span of a range code; false for a code the boards do not have.
// Inline, over a handful of constant rows that the compiler unrolls into
// compares: every sample a gateway converts comes here.
inline bool find_range(int code, Range *range)
{
    for (const RangeRow &row : kRanges) {
        if (row.code == code) {
            *range = row.span;
            return true;
        }
    }
    return false;
}

// The range codes and their spans in words, the bipolar ranges first: for
// a status text "0, 1, 2, 3 (bipolar 10, 5, 2.5, 1 V) or 100, 101
// (unipolar 10, 5 V)", for a help "0, 1, 2, 3 for +-10, 5, 2.5, 1 V; 100,
// 101 for 0..10, 0..5 V".
enum class RangeWords { status, help };
std::string range_list(RangeWords words);

// 16-bit converters: counts = clamp(round((v - low) * 65536 / span), 0, 65535)
// and volts = low + counts * span / 65536.  NaN converts to no count: the
// function returns false.
bool volts_to_counts(const Range &range, double volts, uint16_t *counts);
inline double counts_to_volts(const Range &range, uint16_t counts)
{
    return range.low + counts * (range.high - range.low) / 65536.0;
}

// What drives an analog input: the index of its row in the table of
// kinds.  The kinds the code names have names here; a kind added to the
// table needs none.
enum class SignalKind : uint32_t {
    dc = 0,
    sine = 1,
    square = 2,
    triangle = 3,
    noise = 4,
    counter = 5,    // raw count k mod 65536 at scan k of a scan operation
    loopback0 = 6,  // the voltage last written to analog output 0
    loopback1 = 7,  // ... output 1
    file = 8,       // volts recorded in the rig, played at a rate
};

// The most numbers a kind takes.
constexpr int kSignalParameters = 4;

struct Signal {
    SignalKind kind = SignalKind::dc;
    // The kind's numbers, in the order its row names them: for the waves
    // amplitude (rms for noise, the level for dc), frequency in hertz and
    // offset in volts; for a recording its rate in values a second.
    double parameters[kSignalParameters] = {};
    // A played recording: value floor((t - start) * rate) at time t, then
    // the last value, or from the first again when it loops.
    double start = 0;  // seconds on the monotonic clock
    bool loop = false;
    int recording = -1;
    const std::atomic<float> *volts = nullptr;  // where the rig holds them
    int64_t count = 0;
};

// The samples of one input over a stretch of scans: scan first_scan and
// on, at scan_rate scans per second from t0 (seconds on the monotonic
// clock), converted on a range of low volts and per_volt counts a volt.
struct Stretch {
    int64_t first_scan;
    int64_t scans;
    double t0;
    double scan_rate;
    uint64_t seed;
    double low;
    double per_volt;
    // Seconds on the monotonic clock at the stretch's scan i.
    double time_of(int64_t i) const { return t0 + static_cast<double>(first_scan + i) / scan_rate; }
};

// One row of the table of signal kinds: a new kind is a row and its
// generator.  Point reads, scans, simboard and the checks of what the rig
// holds all go through the table.
struct SignalKindInfo {
    const char *name;
    // The numbers simboard takes after the name, as its help names them,
    // and how many: at least `least`, at most `most` (those not given are
    // 0).  A recorded kind takes a file instead, and its rate.
    const char *parameters;
    bool recorded;
    int least;
    int most;
    // An output whose volts the input follows (loopback), -1 for none; a
    // scan takes those volts as a dc level when it starts.
    int follows_output;
    // Why the numbers (all finite) make no signal of the kind, or nullptr
    // when they do: simboard refuses them with it, and a rig that holds
    // them is corrupt.
    const char *(*check)(const double *parameters);
    // Writes the stretch's raw counts to to[0], to[stride], ...
    void (*generate)(const Signal &signal, const Stretch &stretch, uint16_t *to, int64_t stride);
    // The volts at t seconds, for a kind whose samples depend on their
    // time alone (noise draws from seed and t); nullptr for the others.
    double (*at)(const Signal &signal, double t, uint64_t seed);
    // What simboard shows of the signal after its name.
    void (*describe)(const Signal &signal, char *text, std::size_t size);

    // The kind of the row: its place in the table.
    SignalKind kind() const;
};

// The row of a kind, or of a name; nullptr for none.
const SignalKindInfo *signal_kind_info(SignalKind kind);
const SignalKindInfo *signal_kind_named(const char *name);
// The whole table, for listing.
const SignalKindInfo *signal_kinds(std::size_t *count);

// The signal's name as simboard takes and shows it; nullptr for none.
const char *signal_name(SignalKind kind);

// Why a signal cannot be, or nullptr when it can: a kind in the table and
// finite numbers that its row's check takes.  (Where a recording lies is
// the rig's to check.)
const char *signal_fault(const Signal &signal);

// The default signal of input channel c after a reset: channels 0-7 a 1 V
// sine at 10*(c+1) Hz offset by 0.5*c V, 8-13 at 0 V, 14 and 15 looped
// back from outputs 0 and 1.
Signal default_signal(int channel);

// The pacer: a 40 MHz clock divided down to the aggregate sample rate of
// a scan of channels.  Settles the per-channel rate (scans per second)
// nearest to the requested one and gives the exact aggregate rate.
constexpr double kPacerClock = 40e6;
struct Pace {
    int rate;          // per channel, what the driver reports
    double aggregate;  // samples per second over all channels
};
bool settle_rate(int requested, int channels, Pace *pace);

// The samples of one scan operation of channels low..high, taken in turn,
// scan after scan, at scan_rate scans per second from t0 (seconds on the
// monotonic clock).  Built from a snapshot of the inputs' signals and the
// outputs' volts, so a scan sees one consistent front end.
class ScanSource {
public:
    ScanSource(const Signal *signals, const double *output_volts, const Range &range, int channels,
               double scan_rate, double t0, uint64_t seed);

    // Writes samples first .. first + count - 1 of the operation (sample i
    // is channel i mod channels of scan i / channels).
    void fill(uint16_t *out, int64_t first, int64_t count) const;

private:
    static constexpr int kMax = kAnalogInputs;
    // Loopbacks are dc levels here: the outputs' volts at the start.
    Signal inputs_[kMax];
    Range range_;
    int channels_;
    double scan_rate_;
    double t0_;
    uint64_t seed_;
};

}  // namespace daqgate::sim

#endif
