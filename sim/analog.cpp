// analog.cpp - converters, signals and pacer of the simulated boards.
#include "analog.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace daqgate::sim {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A well-mixed 64-bit hash (splitmix64's finaliser): noise that any process
// reproduces from the same seed.
uint64_t mix(uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

}  // namespace

namespace {

// round((v - low) * 65536 / span) clamped to 0..65535, without a library
// call: for values at or above zero, adding a half and truncating rounds
// half away from zero as round() does.
inline uint16_t scaled_counts(double volts, double low, double per_volt)
{
    const double x = (volts - low) * per_volt + 0.5;
    if (!(x >= 1.0))
        return 0;  // below a half count (NaN is refused before)
    if (x >= 65535.0)
        return 65535;
    return static_cast<uint16_t>(x);
}

inline double per_volt(const Range &range)
{
    return 65536.0 / (range.high - range.low);
}

}  // namespace

bool volts_to_counts(const Range &range, double volts, uint16_t *counts)
{
    if (std::isnan(volts))
        return false;
    *counts = scaled_counts(volts, range.low, per_volt(range));
    return true;
}

namespace {

constexpr bool bipolar(const RangeRow &row)
{
    return row.span.low == -row.span.high;
}

constexpr bool ranges_hold()
{
    for (const RangeRow &row : kRanges)
        if (!(row.span.high > 0) || (!bipolar(row) && row.span.low != 0))
            return false;
    return true;
}
static_assert(ranges_hold(), "every range is bipolar or unipolar, and spans some volts");

// The codes of the bipolar or of the unipolar ranges, "0, 1, 2, 3", and
// their spans, each as `span` formats its high volts ("%g" makes "10, 5,
// 2.5, 1").
struct RangeGroup {
    std::string codes, spans;
};
RangeGroup range_group(bool bipolar_ones, const char *span)
{
    RangeGroup group;
    for (const RangeRow &row : kRanges) {
        if (bipolar(row) != bipolar_ones)
            continue;
        char volts[32];
        std::snprintf(volts, sizeof volts, span, row.span.high);
        const char *comma = group.codes.empty() ? "" : ", ";
        group.codes += comma + std::to_string(row.code);
        group.spans += comma + std::string(volts);
    }
    return group;
}

}  // namespace

std::string range_list(RangeWords words)
{
    const bool help = words == RangeWords::help;
    const RangeGroup both[] = {range_group(true, "%g"), range_group(false, help ? "0..%g" : "%g")};
    const char *const names[] = {help ? " for +-" : " (bipolar ", help ? " for " : " (unipolar "};
    std::string list;
    for (int i = 0; i < 2; ++i) {
        if (both[i].codes.empty())
            continue;
        if (!list.empty())
            list += help ? "; " : " or ";
        list += both[i].codes + names[i] + both[i].spans + (help ? " V" : " V)");
    }
    return list;
}

Signal default_signal(int channel)
{
    if (channel < 8)
        return Signal{SignalKind::sine, {1.0, 10.0 * (channel + 1), 0.5 * channel}};
    if (channel == 14)
        return Signal{SignalKind::loopback0, {}};
    if (channel == 15)
        return Signal{SignalKind::loopback1, {}};
    return Signal{SignalKind::dc, {}};
}

bool settle_rate(int requested, int channels, Pace *pace)
{
    if (requested <= 0 || channels <= 0)
        return false;
    // The divisor nearest the request, at least 1 (the pacer's fastest).
    double divisor = std::round(kPacerClock / (static_cast<double>(requested) * channels));
    if (divisor < 1)
        divisor = 1;
    if (divisor > 4294967295.0)
        divisor = 4294967295.0;
    pace->aggregate = kPacerClock / divisor;
    const double rate = std::round(pace->aggregate / channels);
    pace->rate = rate < 1 ? 1 : static_cast<int>(rate);
    return true;
}

}  // namespace daqgate::sim

namespace daqgate::sim {

ScanSource::ScanSource(const Signal *signals, const double *output_volts, const Range &range, int channels,
                       double scan_rate, double t0, uint64_t seed)
    : range_(range), channels_(channels < kMax ? channels : kMax), scan_rate_(scan_rate), t0_(t0), seed_(seed)
{
    for (int c = 0; c < channels_; ++c) {
        inputs_[c] = signals[c];
        const SignalKindInfo *info = signal_kind_info(signals[c].kind);
        if (info != nullptr && info->follows_output >= 0)
            inputs_[c] = Signal{SignalKind::dc, {output_volts[info->follows_output]}};
    }
}

void ScanSource::fill(uint16_t *out, int64_t first, int64_t count) const
{
    // Channel by channel: each input's samples lie channels_ apart.
    const double scale = per_volt(range_);
    for (int c = 0; c < channels_; ++c) {
        const int64_t offset = ((c - first % channels_) + channels_) % channels_;
        if (offset >= count)
            continue;
        const Stretch stretch{(first + offset) / channels_,
                              (count - offset + channels_ - 1) / channels_,
                              t0_,
                              scan_rate_,
                              seed_ + static_cast<uint64_t>(c),
                              range_.low,
                              scale};
        const SignalKindInfo *info = signal_kind_info(inputs_[c].kind);
        if (info != nullptr)
            info->generate(inputs_[c], stretch, out + offset, channels_);
    }
}

namespace {

// The generators and the other functions of the rows, kind by kind.  A
// wave's numbers are amplitude, frequency and offset.
enum Wave { kAmplitude, kFrequency, kOffset };

double wave_cycle(const Signal &signal, double t)
{
    const double phase = signal.parameters[kFrequency] * t;
    return phase - std::floor(phase);  // 0 <= cycle < 1
}

void constant(const Signal &signal, const Stretch &stretch, uint16_t *to, int64_t stride)
{
    const uint16_t counts = scaled_counts(signal.parameters[0], stretch.low, stretch.per_volt);
    for (int64_t i = 0; i < stretch.scans; ++i)
        to[i * stride] = counts;
}

double level_at(const Signal &signal, double, uint64_t)
{
    return signal.parameters[0];
}

void counting(const Signal &, const Stretch &stretch, uint16_t *to, int64_t stride)
{
    for (int64_t i = 0; i < stretch.scans; ++i)
        to[i * stride] = static_cast<uint16_t>((stretch.first_scan + i) & 0xFFFF);
}

void sine_wave(const Signal &signal, const Stretch &stretch, uint16_t *to, int64_t stride)
{
    // A rotation by one scan's angle per sample, started from the exact
    // phase of the first: no library call in the loop, and no drift a
    // 16-bit converter could show over one call.
    const double amplitude = signal.parameters[kAmplitude], offset = signal.parameters[kOffset];
    const double start = kTwoPi * wave_cycle(signal, stretch.time_of(0));
    const double step = kTwoPi * signal.parameters[kFrequency] / stretch.scan_rate;
    double sine = std::sin(start), cosine = std::cos(start);
    const double step_sine = std::sin(step), step_cosine = std::cos(step);
    for (int64_t i = 0; i < stretch.scans; ++i) {
        to[i * stride] = scaled_counts(amplitude * sine + offset, stretch.low, stretch.per_volt);
        const double next = sine * step_cosine + cosine * step_sine;
        cosine = cosine * step_cosine - sine * step_sine;
        sine = next;
    }
}

double sine_at(const Signal &signal, double t, uint64_t)
{
    return signal.parameters[kAmplitude] * std::sin(kTwoPi * wave_cycle(signal, t)) +
           signal.parameters[kOffset];
}

double square_at(const Signal &signal, double t, uint64_t)
{
    const double amplitude = signal.parameters[kAmplitude];
    return (wave_cycle(signal, t) < 0.5 ? amplitude : -amplitude) + signal.parameters[kOffset];
}

double triangle_at(const Signal &signal, double t, uint64_t)
{
    // Rises from -amplitude to +amplitude over the first half cycle.
    const double cycle = wave_cycle(signal, t);
    const double rising = cycle < 0.5 ? cycle * 4.0 - 1.0 : 3.0 - cycle * 4.0;
    return signal.parameters[kAmplitude] * rising + signal.parameters[kOffset];
}

// Noise's numbers: rms and offset.
double noise_at(const Signal &signal, double t, uint64_t seed)
{
    // Twelve uniform draws less six: mean 0, variance 1, near Gaussian.
    uint64_t state = mix(seed ^ mix(static_cast<uint64_t>(std::llround(t * 1e9))));
    double sum = 0;
    for (int i = 0; i < 12; ++i) {
        state = mix(state);
        sum += static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0);
    }
    return signal.parameters[0] * (sum - 6.0) + signal.parameters[1];
}

// The volts of each sample's own time, from the row's at().
void by_time(const Signal &signal, const Stretch &stretch, uint16_t *to, int64_t stride)
{
    const auto at = signal_kind_info(signal.kind)->at;
    for (int64_t i = 0; i < stretch.scans; ++i)
        to[i * stride] =
            scaled_counts(at(signal, stretch.time_of(i), stretch.seed), stretch.low, stretch.per_volt);
}

// A recording, played at its rate (its one number): the value of each
// sample's own time, counted from the moment the file began to play.
void playing(const Signal &signal, const Stretch &stretch, uint16_t *to, int64_t stride)
{
    if (signal.volts == nullptr || signal.count <= 0) {
        constant(Signal{}, stretch, to, stride);
        return;
    }
    const auto count = static_cast<double>(signal.count);
    for (int64_t i = 0; i < stretch.scans; ++i) {
        double position = (stretch.time_of(i) - signal.start) * signal.parameters[0];
        if (!(position >= 0))
            position = 0;  // before it began (or a clock that is not a number)
        else if (position >= count)
            position = signal.loop ? std::fmod(position, count) : count - 1;
        const float volts = signal.volts[static_cast<int64_t>(position)].load(std::memory_order_relaxed);
        to[i * stride] = scaled_counts(volts, stretch.low, stretch.per_volt);
    }
}

const char *any_numbers(const double *)
{
    return nullptr;
}

const char *positive_rate(const double *parameters)
{
    return parameters[0] > 0 ? nullptr : "a recording's rate must be above 0";
}

void describe_file(const Signal &signal, char *text, std::size_t size)
{
    std::snprintf(text, size, " of %lld values at %g Hz, %s", static_cast<long long>(signal.count),
                  signal.parameters[0], signal.loop ? "looping" : "then holding the last");
}

void describe_level(const Signal &signal, char *text, std::size_t size)
{
    std::snprintf(text, size, " %g V", signal.parameters[0]);
}

void describe_wave(const Signal &signal, char *text, std::size_t size)
{
    std::snprintf(text, size, " %g V at %g Hz, offset %g V", signal.parameters[kAmplitude],
                  signal.parameters[kFrequency], signal.parameters[kOffset]);
}

void describe_noise(const Signal &signal, char *text, std::size_t size)
{
    std::snprintf(text, size, " %g V rms, offset %g V", signal.parameters[0], signal.parameters[1]);
}

void describe_nothing(const Signal &, char *text, std::size_t size)
{
    if (size > 0)
        text[0] = '\0';
}

constexpr const char *kWave = "AMPLITUDE HZ [OFFSET]";

// A build may try out kinds of its own (the tests' build does: a kind
// they add and meet through the driver and simboard): the file that
// DAQGATE_EXTRA_SIGNAL_KINDS names holds their generators, written as
// those above, and defines DAQGATE_EXTRA_SIGNAL_KIND_ROWS as their rows,
// which follow the table's own.
#ifdef DAQGATE_EXTRA_SIGNAL_KINDS
#  include DAQGATE_EXTRA_SIGNAL_KINDS
#else
#  define DAQGATE_EXTRA_SIGNAL_KIND_ROWS
#endif

// Rows in the order of SignalKind's named kinds; new kinds go at the end.
// clang-format off
constexpr SignalKindInfo kSignalKinds[] = {
    // name        numbers         file   least most follows check          generator  at           description
    {"dc",        "VOLTS",        false, 1,    1,   -1,     any_numbers,   constant,  level_at,    describe_level},
    {"sine",      kWave,          false, 2,    3,   -1,     any_numbers,   sine_wave, sine_at,     describe_wave},
    {"square",    kWave,          false, 2,    3,   -1,     any_numbers,   by_time,   square_at,   describe_wave},
    {"triangle",  kWave,          false, 2,    3,   -1,     any_numbers,   by_time,   triangle_at, describe_wave},
    {"noise",     "RMS [OFFSET]", false, 1,    2,   -1,     any_numbers,   by_time,   noise_at,    describe_noise},
    {"counter",   "",             false, 0,    0,   -1,     any_numbers,   counting,  nullptr,     describe_nothing},
    {"loopback0", "",             false, 0,    0,   0,      any_numbers,   constant,  nullptr,     describe_nothing},
    {"loopback1", "",             false, 0,    0,   1,      any_numbers,   constant,  nullptr,     describe_nothing},
    {"file",      "PATH",         true,  0,    0,   -1,     positive_rate, playing,   nullptr,     describe_file},
    DAQGATE_EXTRA_SIGNAL_KIND_ROWS
};
// clang-format on
constexpr std::size_t kKinds = sizeof kSignalKinds / sizeof *kSignalKinds;

constexpr bool same(const char *a, const char *b)
{
    while (*a != '\0' && *a == *b)
        ++a, ++b;
    return *a == *b;
}

constexpr bool named(SignalKind kind, const char *name)
{
    return same(kSignalKinds[static_cast<std::size_t>(kind)].name, name);
}
static_assert(named(SignalKind::dc, "dc") && named(SignalKind::sine, "sine") &&
                  named(SignalKind::square, "square") && named(SignalKind::triangle, "triangle") &&
                  named(SignalKind::noise, "noise") && named(SignalKind::counter, "counter") &&
                  named(SignalKind::loopback0, "loopback0") && named(SignalKind::loopback1, "loopback1") &&
                  named(SignalKind::file, "file"),
              "the named kinds stand at their places in the table");
static_assert(kSignalKinds[0].least <= 1 && kSignalKinds[0].generate == constant,
              "a signal of no kind given is dc");

constexpr bool fits()
{
    for (const SignalKindInfo &info : kSignalKinds)
        if (info.least > info.most || info.most > kSignalParameters || (info.generate == by_time && !info.at))
            return false;
    return true;
}
static_assert(fits(), "every kind's numbers fit a signal's, and a kind paced by time says its volts");

// A row whose name another row before it has would never be found by it.
constexpr bool distinct()
{
    for (std::size_t i = 0; i < kKinds; ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (same(kSignalKinds[i].name, kSignalKinds[j].name))
                return false;
    return true;
}
static_assert(distinct(), "every kind has a name of its own");

}  // namespace

SignalKind SignalKindInfo::kind() const
{
    return static_cast<SignalKind>(this - kSignalKinds);
}

const char *signal_fault(const Signal &signal)
{
    const SignalKindInfo *info = signal_kind_info(signal.kind);
    if (info == nullptr)
        return "not a kind of signal";
    for (double number : signal.parameters)
        if (!std::isfinite(number))
            return "the numbers of a signal must be finite";
    return info->check(signal.parameters);
}

const SignalKindInfo *signal_kinds(std::size_t *count)
{
    *count = kKinds;
    return kSignalKinds;
}

const SignalKindInfo *signal_kind_info(SignalKind kind)
{
    const auto index = static_cast<std::size_t>(kind);
    return index < kKinds ? &kSignalKinds[index] : nullptr;
}

const SignalKindInfo *signal_kind_named(const char *name)
{
    for (const SignalKindInfo &info : kSignalKinds)
        if (std::strcmp(info.name, name) == 0)
            return &info;
    return nullptr;
}

const char *signal_name(SignalKind kind)
{
    const SignalKindInfo *info = signal_kind_info(kind);
    return info != nullptr ? info->name : nullptr;
}

}  // namespace daqgate::sim
