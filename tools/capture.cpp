// capture.cpp - ports sampled into a Value Change Dump (IEEE 1364).
#include "capture.h"

#include <chrono>
#include <cmath>
#include <string>
#include <thread>

namespace daqgate::tools {

using sim::PortId;
using Clock = std::chrono::steady_clock;

std::string vcd_identifier(std::size_t index)
{
    // Base 94 over '!' .. '~'.
    std::string id;
    do {
        id += static_cast<char>('!' + index % 94);
        index /= 94;
    } while (index > 0);
    return id;
}

namespace {

struct Probe {
    PortId port;
    std::string id;
    uint16_t value = 0;
    bool counted = false;  // whether `changes` holds a count to step from
    uint32_t changes = 0;
    int64_t made = 0;      // changes the writer counted
    int64_t seen = 0;      // changes a sample saw
    bool changed = false;  // at the last sample
};

void binary(std::FILE *out, uint16_t value, const std::string &id)
{
    char digits[17];
    for (int bit = 0; bit < 16; ++bit)
        digits[bit] = (value >> (15 - bit)) & 1u ? '1' : '0';
    digits[16] = '\0';
    std::fprintf(out, "b%s %s\n", digits, id.c_str());
}

// One sample of a port: its value, then its writer's count of changes (so
// that a count never runs behind the value it was read with for long).
bool sample(const sim::Rig &rig, Probe &probe)
{
    uint16_t value = probe.value;
    if (rig.read_port(probe.port.board, probe.port.port, &value) != sim::kNoError)
        value = probe.value;  // invalid lines hold their last value
    const bool changed = value != probe.value;
    probe.value = value;
    probe.changed = changed;
    if (changed)
        ++probe.seen;
    uint32_t changes = 0;
    if (rig.changes_of(probe.port, &changes)) {
        if (probe.counted)
            probe.made += static_cast<uint32_t>(changes - probe.changes);
        probe.changes = changes;
        probe.counted = true;
    } else {
        probe.counted = false;  // undriven: what drives it next counts afresh
    }
    return changed;
}

}  // namespace

CaptureOutcome capture(const sim::Rig &rig, const std::vector<PortId> &ports, double seconds, double rate,
                       std::FILE *out, const std::function<void()> &begun, const std::atomic<bool> &stop)
{
    std::vector<Probe> probes;
    for (std::size_t i = 0; i < ports.size(); ++i)
        probes.push_back(Probe{ports[i], vcd_identifier(i)});

    std::fprintf(out, "$timescale 1 ns $end\n$scope module rig $end\n");
    for (const Probe &probe : probes)
        std::fprintf(out, "$var wire 16 %s b%d_p%d $end\n", probe.id.c_str(), probe.port.board,
                     probe.port.port);
    std::fprintf(out, "$upscope $end\n$enddefinitions $end\n");

    const Clock::time_point start = Clock::now();
    for (Probe &probe : probes) {
        sample(rig, probe);
        probe.seen = 0;
    }
    std::fprintf(out, "#0\n$dumpvars\n");
    for (const Probe &probe : probes)
        binary(out, probe.value, probe.id);
    std::fprintf(out, "$end\n");
    begun();

    CaptureOutcome outcome;
    outcome.samples = 1;
    const auto length = std::chrono::duration<double>(seconds);
    int64_t last_time = 0;
    Clock::time_point now = start;
    for (int64_t k = 1; !stop.load(std::memory_order_relaxed); ++k) {
        if (rate > 0) {
            // Sample k is due at k / rate; one that is late is taken at
            // once, and the slots it missed are skipped, not made up.
            const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(static_cast<double>(k) / rate));
            if (due > start + length)
                break;
            now = Clock::now();
            if (due - now > std::chrono::milliseconds(2))
                std::this_thread::sleep_until(due - std::chrono::milliseconds(1));
            while ((now = Clock::now()) < due) {
            }
            const double behind = std::chrono::duration<double>(now - start).count() * rate;
            if (behind >= static_cast<double>(k + 1))
                k = static_cast<int64_t>(std::floor(behind));
        } else {
            now = Clock::now();
            if (now - start >= length)
                break;
        }
        bool any = false;
        for (Probe &probe : probes)
            any = sample(rig, probe) || any;
        ++outcome.samples;
        if (!any)
            continue;
        // Times rise strictly, even on a clock coarser than a nanosecond.
        int64_t time = std::chrono::duration_cast<std::chrono::nanoseconds>(now - start).count();
        if (time <= last_time)
            time = last_time + 1;
        last_time = time;
        std::fprintf(out, "#%lld\n", static_cast<long long>(time));
        for (const Probe &probe : probes)
            if (probe.changed)
                binary(out, probe.value, probe.id);
    }
    outcome.seconds = std::chrono::duration<double>(now - start).count();
    for (const Probe &probe : probes)
        if (probe.made > probe.seen)
            outcome.missed += probe.made - probe.seen;
    outcome.written = std::fflush(out) == 0 && !std::ferror(out);
    return outcome;
}

}  // namespace daqgate::tools
