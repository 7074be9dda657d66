// analog.cpp - converters, signals and pacer of the simulated boards.
#include "analog.h"

#include <cmath>
#include <cstring>

namespace daqgate::sim {

namespace {

constexpr Range kRanges[] = {
    {0, -10.0, 10.0}, {1, -5.0, 5.0}, {2, -2.5, 2.5}, {3, -1.0, 1.0}, {100, 0.0, 10.0}, {101, 0.0, 5.0},
};

constexpr const char *kSignalNames[] = {"dc",    "sine",    "square",    "triangle",
                                        "noise", "counter", "loopback0", "loopback1"};

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

bool find_range(int code, Range *range)
{
    // A switch, not a search: every converted sample of a scan comes here.
    switch (code) {
    case 0: *range = kRanges[0]; return true;
    case 1: *range = kRanges[1]; return true;
    case 2: *range = kRanges[2]; return true;
    case 3: *range = kRanges[3]; return true;
    case 100: *range = kRanges[4]; return true;
    case 101: *range = kRanges[5]; return true;
    default: return false;
    }
}

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

const char *signal_name(SignalKind kind)
{
    const auto index = static_cast<uint32_t>(kind);
    return index < sizeof kSignalNames / sizeof *kSignalNames ? kSignalNames[index] : nullptr;
}

bool signal_kind(const char *name, SignalKind *kind)
{
    for (uint32_t i = 0; i < sizeof kSignalNames / sizeof *kSignalNames; ++i) {
        if (std::strcmp(name, kSignalNames[i]) == 0) {
            *kind = static_cast<SignalKind>(i);
            return true;
        }
    }
    return false;
}

Signal default_signal(int channel)
{
    if (channel < 8)
        return Signal{SignalKind::sine, 1.0, 10.0 * (channel + 1), 0.5 * channel};
    if (channel == 14)
        return Signal{SignalKind::loopback0, 0, 0, 0};
    if (channel == 15)
        return Signal{SignalKind::loopback1, 0, 0, 0};
    return Signal{SignalKind::dc, 0, 0, 0};
}

double signal_volts(const Signal &signal, double t, uint64_t seed)
{
    const double phase = signal.frequency * t;
    const double cycle = phase - std::floor(phase);  // 0 <= cycle < 1
    switch (signal.kind) {
    case SignalKind::dc: return signal.amplitude + signal.offset;
    case SignalKind::sine: return signal.amplitude * std::sin(kTwoPi * cycle) + signal.offset;
    case SignalKind::square: return (cycle < 0.5 ? signal.amplitude : -signal.amplitude) + signal.offset;
    case SignalKind::triangle: {
        // Rises from -amplitude to +amplitude over the first half cycle.
        const double rising = cycle < 0.5 ? cycle * 4.0 - 1.0 : 3.0 - cycle * 4.0;
        return signal.amplitude * rising + signal.offset;
    }
    case SignalKind::noise: {
        // Twelve uniform draws less six: mean 0, variance 1, near Gaussian.
        uint64_t state = mix(seed ^ mix(static_cast<uint64_t>(std::llround(t * 1e9))));
        double sum = 0;
        for (int i = 0; i < 12; ++i) {
            state = mix(state);
            sum += static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0);
        }
        return signal.amplitude * (sum - 6.0) + signal.offset;
    }
    case SignalKind::counter:
    case SignalKind::loopback0:
    case SignalKind::loopback1: break;
    }
    return signal.offset;
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
        Input &input = inputs_[c];
        input.signal = signals[c];
        input.counts = 0;
        input.constant = true;
        switch (input.signal.kind) {
        case SignalKind::dc:
            volts_to_counts(range, input.signal.amplitude + input.signal.offset, &input.counts);
            break;
        case SignalKind::loopback0:
        case SignalKind::loopback1:
            volts_to_counts(range, output_volts[input.signal.kind == SignalKind::loopback0 ? 0 : 1],
                            &input.counts);
            break;
        default: input.constant = false;
        }
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
        const int64_t scan = (first + offset) / channels_;
        const int64_t n = (count - offset + channels_ - 1) / channels_;
        uint16_t *to = out + offset;
        const Input &input = inputs_[c];
        const Signal &signal = input.signal;
        if (input.constant) {
            for (int64_t i = 0; i < n; ++i)
                to[i * channels_] = input.counts;
        } else if (signal.kind == SignalKind::counter) {
            for (int64_t i = 0; i < n; ++i)
                to[i * channels_] = static_cast<uint16_t>((scan + i) & 0xFFFF);
        } else if (signal.kind == SignalKind::sine) {
            // A rotation by one scan's angle per sample, started from the
            // exact phase of the first: no library call in the loop, and
            // no drift a 16-bit converter could show over one call.
            const double phase = signal.frequency * (t0_ + static_cast<double>(scan) / scan_rate_);
            const double start = kTwoPi * (phase - std::floor(phase));
            const double step = kTwoPi * signal.frequency / scan_rate_;
            double sine = std::sin(start), cosine = std::cos(start);
            const double step_sine = std::sin(step), step_cosine = std::cos(step);
            for (int64_t i = 0; i < n; ++i) {
                to[i * channels_] = scaled_counts(signal.amplitude * sine + signal.offset, range_.low, scale);
                const double next = sine * step_cosine + cosine * step_sine;
                cosine = cosine * step_cosine - sine * step_sine;
                sine = next;
            }
        } else {
            const uint64_t seed = seed_ + static_cast<uint64_t>(c);
            for (int64_t i = 0; i < n; ++i) {
                const double t = t0_ + static_cast<double>(scan + i) / scan_rate_;
                to[i * channels_] = scaled_counts(signal_volts(signal, t, seed), range_.low, scale);
            }
        }
    }
}

}  // namespace daqgate::sim
