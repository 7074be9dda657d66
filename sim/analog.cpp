// analog.cpp - converters, signals and pacer of the simulated boards.
#include "analog.h"

#include <cmath>
#include <cstring>

namespace daqgate::sim {

namespace {

constexpr Range kRanges[] = {
    {0, -10.0, 10.0}, {1, -5.0, 5.0}, {2, -2.5, 2.5}, {3, -1.0, 1.0}, {100, 0.0, 10.0}, {101, 0.0, 5.0},
};

constexpr const char *kSignalNames[] = {"dc",      "sine",    "square",    "triangle",
                                        "noise",   "counter", "loopback0", "loopback1"};

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

bool volts_to_counts(const Range &range, double volts, uint16_t *counts)
{
    if (std::isnan(volts))
        return false;
    const double scaled = std::round((volts - range.low) * 65536.0 / (range.high - range.low));
    *counts = static_cast<uint16_t>(scaled < 0 ? 0 : scaled > 65535 ? 65535 : scaled);
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
    case SignalKind::dc:
        return signal.amplitude + signal.offset;
    case SignalKind::sine:
        return signal.amplitude * std::sin(kTwoPi * cycle) + signal.offset;
    case SignalKind::square:
        return (cycle < 0.5 ? signal.amplitude : -signal.amplitude) + signal.offset;
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
    case SignalKind::loopback1:
        break;
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

ScanSource::ScanSource(const Signal *signals, const double *output_volts, const Range &range,
                       int channels, double scan_rate, double t0, uint64_t seed)
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
        default:
            input.constant = false;
        }
    }
}

void ScanSource::fill(uint16_t *out, int64_t first, int64_t count) const
{
    int64_t scan = first / channels_;
    int c = static_cast<int>(first % channels_);
    for (int64_t i = 0; i < count; ++i) {
        const Input &input = inputs_[c];
        if (input.constant) {
            out[i] = input.counts;
        } else if (input.signal.kind == SignalKind::counter) {
            out[i] = static_cast<uint16_t>(scan & 0xFFFF);
        } else {
            const double t = t0_ + static_cast<double>(scan) / scan_rate_;
            volts_to_counts(range_, signal_volts(input.signal, t, seed_ + static_cast<uint64_t>(c)), &out[i]);
        }
        if (++c == channels_) {
            c = 0;
            ++scan;
        }
    }
}

}  // namespace daqgate::sim
