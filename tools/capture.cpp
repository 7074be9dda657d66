// capture.cpp - ports sampled into a Value Change Dump (IEEE 1364).
//
// A sample is a state that every captured port held at one instant.  The
// ports are read one after another, so one pass alone may take one port
// before and another after a writer's two writes (the link's data, then
// its flag) and show a state that never was.  Each round therefore reads
// every port twice, between the counts of changes of their writers taken
// before the first pass and after the second: when no count moved and
// both passes agree, each port held its value from its first read to its
// second, and all of them together at the instant between the passes.
// A writer stores its latch before its count, so a change between the
// passes that its count does not show yet still shows as two values; and
// one that two writes undid shows in the count, which the first write
// raised before the second write's latch could be seen.  A round that
// finds anything moving is taken again.
//
// The time of a sample is read after its round, so that no value is
// stamped earlier than it was seen; a round that took long (the capture
// descheduled within it) is taken again, a few times at most.  What each
// writer changed between two samples, by its count, against the change
// the samples show of its port, is what may have been missed: two changes
// of one port seen as one, or as none.  A change seen before its count
// landed (a sample between a write's latch and its count) is that write:
// the count it owes is not one more.  Changes of several ports between
// two samples are no loss: each shows, and the sample is a state they
// held together.
#include "capture.h"

#include <chrono>
#include <cmath>
#include <deque>
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

int timescale_exponent(double period)
{
    if (!(period > 0))
        return -9;
    // A hair above, so that a period of exactly a power of ten is its own.
    const int exponent = static_cast<int>(std::floor(std::log10(period) + 1e-9));
    return exponent < -9 ? -9 : exponent > 0 ? 0 : exponent;
}

std::string timescale_text(int exponent)
{
    static const char *const units[] = {"ns", "us", "ms", "s"};
    const int unit = (exponent + 9) / 3;  // 0 ns .. 3 s
    int mantissa = 1;
    for (int i = 0; i < (exponent + 9) % 3; ++i)
        mantissa *= 10;
    return std::to_string(mantissa) + " " + units[unit];
}

uint16_t bit_mask(const BitMasks &masks, std::size_t port)
{
    return port < masks.size() ? masks[port] : kAllBits;
}

void ScaleChooser::change(int64_t ns)
{
    int64_t tick = 1;
    for (int scale = 0; scale < kScales; ++scale, tick *= 10) {
        const int64_t at = ns / tick;
        fits_[scale] = fits_[scale] && at > last_[scale];
        last_[scale] = at;
    }
}

int ScaleChooser::exponent() const
{
    int scale = kScales - 1;
    while (scale > 0 && !fits_[scale])
        --scale;
    return scale - 9;
}

DumpWriter::DumpWriter(std::FILE *out, DumpForm form, const std::vector<PortId> &ports, const BitMasks &bits,
                       const LinkWires &link)
    : out_(out), form_(form), ports_(ports), link_(link), values_(ports.size())
{
    summary_.changed.assign(ports.size(), 0);
    std::size_t next = 0;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        masks_.push_back(form == DumpForm::bits ? bit_mask(bits, i) : kAllBits);
        if (form == DumpForm::vectors) {
            ids_.push_back(vcd_identifier(next++));
            continue;
        }
        for (int bit = 0; bit < 16; ++bit)
            ids_.push_back((masks_[i] >> bit) & 1u ? vcd_identifier(next++) : std::string());
    }
}

void DumpWriter::header(int exponent, const DumpEvent &initial)
{
    summary_.exponent = exponent;
    std::fprintf(out_, "$timescale %s $end\n$scope module rig $end\n", timescale_text(exponent).c_str());
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        const PortId &port = ports_[i];
        if (form_ == DumpForm::vectors) {
            std::fprintf(out_, "$var wire 16 %s b%d_p%d $end\n", ids_[i].c_str(), port.board, port.port);
        } else {
            for (int bit = 0; bit < 16; ++bit)
                if ((masks_[i] >> bit) & 1u)
                    std::fprintf(out_, "$var wire 1 %s b%d_p%d.%d $end\n", ids_[i * 16 + bit].c_str(), port.board,
                                 port.port, bit);
        }
    }
    std::fprintf(out_, "$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n");
    for (std::size_t i = 0; i < ports_.size(); ++i)
        put(i, initial.values[i], initial.unknown, true);
    std::fprintf(out_, "$end\n");
    values_ = initial.values;
    unknown_ = initial.unknown;
    follow_link(0, initial);
}

void DumpWriter::change(int64_t tick, const DumpEvent &event)
{
    if (tick <= last_)
        tick = last_ + 1;
    last_ = tick;
    summary_.end = tick;
    if (summary_.first_change < 0)
        summary_.first_change = tick;
    if (++count_ <= 8)
        summary_.early_end = tick;
    std::fprintf(out_, "#%lld\n", static_cast<long long>(tick));
    const bool whole = unknown_ != event.unknown;
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        if (whole || (!event.unknown && event.values[i] != values_[i]))
            put(i, event.values[i], event.unknown, whole);
        if (!event.unknown && !unknown_)
            summary_.changed[i] |= static_cast<uint16_t>((event.values[i] ^ values_[i]) & masks_[i]);
    }
    follow_link(tick, event);
    values_ = event.values;
    unknown_ = event.unknown;
}

void DumpWriter::end(int64_t tick)
{
    if (tick > last_) {
        std::fprintf(out_, "#%lld\n", static_cast<long long>(tick));
        summary_.end = tick;
    }
    if (summary_.transfer_begin >= 0 && summary_.transfer_end < 0)
        summary_.transfer_end = summary_.end;
}

// The link's handshake as the decoder follows it, on bit 0 of each flag:
// the byte on the data lines when the request rises, taken when the
// receiver's acknowledge falls.
void DumpWriter::follow_link(int64_t tick, const DumpEvent &event)
{
    if (!link_.present || summary_.transfer_end >= 0)
        return;
    if (event.unknown) {
        byte_ = -1;
        return;
    }
    const bool request = event.values[link_.sender] & 1u, acknowledge = event.values[link_.receiver] & 1u;
    const bool requested = !unknown_ && (values_[link_.sender] & 1u),
               acknowledged = !unknown_ && (values_[link_.receiver] & 1u);
    if (request && !requested && tick > 0) {
        if (summary_.transfer_begin < 0)
            summary_.transfer_begin = tick;
        byte_ = event.values[link_.data] & 0xff;
    }
    if (!acknowledge && acknowledged && byte_ == '\n' && summary_.transfer_begin >= 0)
        summary_.transfer_end = tick;
}

void DumpWriter::put(std::size_t i, uint16_t value, bool unknown, bool whole)
{
    if (form_ == DumpForm::vectors) {
        char digits[17];
        for (int bit = 0; bit < 16; ++bit)
            digits[bit] = unknown ? 'x' : (value >> (15 - bit)) & 1u ? '1' : '0';
        digits[16] = '\0';
        std::fprintf(out_, "b%s %s\n", digits, ids_[i].c_str());
        return;
    }
    for (int bit = 0; bit < 16; ++bit) {
        if (!((masks_[i] >> bit) & 1u))
            continue;
        const unsigned now = (value >> bit) & 1u;
        if (!whole && now == ((values_[i] >> bit) & 1u))
            continue;
        std::fprintf(out_, "%c%s\n", unknown ? 'x' : now ? '1' : '0', ids_[i * 16 + bit].c_str());
    }
}

namespace {

// A round slower than this may hold a sample from anywhere within it.
constexpr auto kSlowRound = std::chrono::microseconds(20);
constexpr int kSlowTries = 3;
// The rig file is looked at this often (system calls), and taking a lost
// rig back tried this often, as the driver does.
constexpr auto kLookEvery = std::chrono::milliseconds(20);
constexpr auto kTakeBackEvery = std::chrono::milliseconds(50);
// The most changes kept before a trigger.
constexpr std::size_t kRingEvents = 1u << 18;

// Undriven at power-up, counts from 0: the state of a rig made anew.
constexpr int kPowerUp = -3;
// A port whose look failed (invalid data in the rig): it holds its value.
constexpr int kInvalid = -2;

int64_t nanos(Clock::duration d)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
}

// Consistent states of the ports, and what their writers changed.
class Sampler {
public:
    Sampler(sim::Rig &rig, const std::vector<PortId> &ports)
        : rig_(rig),
          ports_(ports),
          n_(ports.size()),
          v1_(n_),
          v2_(n_),
          value_(n_),
          last_(n_),
          s1_(n_, -1),
          s2_(n_, -1),
          c0src_(n_, kInvalid),
          lastsrc_(n_, -1),
          c0_(n_),
          lastcount_(n_),
          owed_(n_)
    {
    }

    enum class Result { taken, moved, lost };

    Result round()
    {
        for (std::size_t i = 0; i < n_; ++i)
            look(i, &v1_[i], &s1_[i]);
        bool still = true;
        for (std::size_t i = 0; i < n_; ++i) {
            look(i, &v2_[i], &s2_[i]);
            const int source = s2_[i];
            const uint32_t count = source >= 0 ? rig_.changes_at(source) : 0;
            still = still && s1_[i] == source && source == c0src_[i] && v1_[i] == v2_[i] && count == c0_[i];
            // This round's closing counts open the next round.
            c0_[i] = count;
            c0src_[i] = source;
        }
        // A lost rig reads as zeros: nothing of this round is the rig's.
        if (rig_.lost())
            return Result::lost;
        if (!still)
            return Result::moved;
        value_.swap(v2_);
        return Result::taken;
    }

    const std::vector<uint16_t> &values() const { return value_; }

    // Weighs the state just taken against the one before: what the writers
    // changed meanwhile, by their counts, and whether the state shows a
    // change.  The first state is where the counting starts.
    bool account()
    {
        if (first_) {
            first_ = false;
            keep();
            return false;
        }
        // Most samples find what the one before found.
        bool same = true;
        for (std::size_t i = 0; i < n_ && same; ++i)
            same = value_[i] == last_[i] && c0src_[i] == lastsrc_[i] && c0_[i] == lastcount_[i];
        if (same)
            return false;
        bool visible = false;
        int64_t made = 0, shown = 0;
        for (std::size_t i = 0; i < n_; ++i) {
            const bool differs = value_[i] != last_[i];
            visible = visible || differs;
            const int source = c0src_[i];
            if (source >= 0 && (source == lastsrc_[i] || lastsrc_[i] == kPowerUp)) {
                // A port's writer counts once, however many captured ports
                // show its latch (the two ends of a wire).
                bool counted = false;
                for (std::size_t j = 0; j < i && !counted; ++j)
                    counted = c0src_[j] == source && (lastsrc_[j] == source || lastsrc_[j] == kPowerUp);
                if (counted)
                    continue;
                const uint32_t from = lastsrc_[i] == kPowerUp ? 0 : lastcount_[i];
                uint32_t steps = c0_[i] - from;
                // A count that went backwards was reset with its rig.
                if (steps > 0x80000000u)
                    steps = c0_[i];
                // The writer's next count is that of the change already
                // seen before it (its one write under way).
                if (owed_[i] && steps > 0) {
                    --steps;
                    owed_[i] = false;
                }
                if (steps == 0 && differs) {
                    // A write stores its latch before its count: a change
                    // with no count yet is that write, seen in between.
                    owed_[i] = true;
                    steps = 1;
                }
                made += steps;
                shown += steps > 0 && differs ? 1 : 0;  // of its changes, the sample shows one
            } else {
                owed_[i] = false;
                if (source != lastsrc_[i] && differs) {
                    made += 1;  // a change of direction or wiring showed as this change
                    shown += 1;
                }
            }
        }
        made_ += made;
        seen_ += shown;
        keep();
        return visible;
    }

    // The rig was taken back, made anew: its ports at power-up, their
    // counts from 0.
    void taken_back()
    {
        for (std::size_t i = 0; i < n_; ++i) {
            last_[i] = 0;
            lastsrc_[i] = kPowerUp;
            lastcount_[i] = 0;
            owed_[i] = false;
            c0src_[i] = kInvalid;  // the next round starts afresh
        }
        first_ = false;
    }

    int64_t missed() const { return made_ > seen_ ? made_ - seen_ : 0; }

private:
    void look(std::size_t i, uint16_t *value, int *source)
    {
        if (rig_.shown(ports_[i], value, source) != sim::kNoError) {
            *value = value_[i];  // invalid lines hold their last value
            *source = kInvalid;
        }
    }

    void keep()
    {
        last_ = value_;
        lastsrc_ = c0src_;
        lastcount_ = c0_;
    }

    sim::Rig &rig_;
    const std::vector<PortId> &ports_;
    std::size_t n_;
    std::vector<uint16_t> v1_, v2_, value_, last_;
    // The sources and counts closing the last round: those of the last
    // state taken, when the round was taken.
    std::vector<int> s1_, s2_, c0src_, lastsrc_;
    std::vector<uint32_t> c0_, lastcount_;
    // Whether a port's writer owes the count of a change already seen.
    std::vector<bool> owed_;
    bool first_ = true;
    int64_t made_ = 0, seen_ = 0;
};

bool holds(const Trigger &trigger, const std::vector<uint16_t> &now, const std::vector<uint16_t> *before)
{
    const uint16_t value = now[trigger.port];
    switch (trigger.kind) {
    case Trigger::Kind::none: return true;
    case Trigger::Kind::equals: return value == trigger.value;
    case Trigger::Kind::rise: return before != nullptr && (*before)[trigger.port] == 0 && value != 0;
    case Trigger::Kind::fall: return before != nullptr && (*before)[trigger.port] != 0 && value == 0;
    case Trigger::Kind::change: return before != nullptr && (*before)[trigger.port] != value;
    }
    return false;
}

}  // namespace

CaptureOutcome capture(sim::Rig &rig, const CaptureSettings &settings, std::FILE *out,
                       const CaptureEvents &events, const std::atomic<bool> &stop)
{
    CaptureOutcome outcome;
    Sampler sampler(rig, settings.ports);
    DumpWriter writer(out, settings.form, settings.ports, settings.bits, settings.link);
    std::vector<uint16_t> masks;
    for (std::size_t i = 0; i < settings.ports.size(); ++i)
        masks.push_back(settings.form == DumpForm::bits ? bit_mask(settings.bits, i) : kAllBits);
    const bool waits = settings.trigger.kind != Trigger::Kind::none;
    const auto length =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(settings.seconds));
    const auto patience =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(settings.wait));
    const auto pre_ns = static_cast<int64_t>(settings.pre * 1e9);

    // The first sample: where times start, and the counts with them.
    Clock::time_point start;
    for (;;) {
        if (stop.load(std::memory_order_relaxed))
            return outcome;
        const Sampler::Result result = sampler.round();
        start = Clock::now();
        if (result == Sampler::Result::taken)
            break;
        if (result == Sampler::Result::lost) {
            if (events.warn)
                events.warn("the rig is lost: run 'simboard reset' to renew it");
            outcome.lost = true;
            outcome.losses = 1;
            return outcome;
        }
    }
    sampler.account();
    outcome.samples = 1;
    if (events.begun)
        events.begun();

    // Before the dump begins (a trigger awaited),
    // its changes wait here, after the state they start from.
    DumpEvent base{0, sampler.values(), false};
    std::deque<DumpEvent> ring;
    bool crowded = false;  // changes within --pre dropped for room
    bool triggered = !waits;
    int64_t trigger_ns = 0;
    bool dumping = false;
    int64_t dump_ns = 0;
    int exponent = -9;
    if (!waits)
        outcome.triggered = true;
    if (waits && holds(settings.trigger, sampler.values(), nullptr)) {
        triggered = outcome.triggered = true;
        if (events.triggered)
            events.triggered(0.0);
    }
    // The bits form without a rate chooses its time scale from its changes
    // once it has them all: they wait in the spool meanwhile, in
    // nanoseconds, a record each.  Memory stays as it is however long the
    // capture; the spool takes what the dump will, or less.
    const bool settles = settings.form == DumpForm::bits && settings.rate <= 0;
    if (settings.form == DumpForm::bits && settings.rate > 0)
        exponent = timescale_exponent(1.0 / settings.rate);
    std::FILE *spool = nullptr;
    std::FILE *own_spool = nullptr;
    if (settles) {
        spool = settings.spool != nullptr ? settings.spool : (own_spool = std::tmpfile());
        if (spool == nullptr) {
            if (events.warn)
                events.warn("cannot make a temporary file for the changes");
            return outcome;
        }
    }
    struct SpoolClose {
        std::FILE *file;
        ~SpoolClose()
        {
            if (file != nullptr)
                std::fclose(file);
        }
    } spool_close{own_spool};
    ScaleChooser chooser;
    int64_t spooled = 0;
    bool spool_failed = false;
    const std::size_t n = settings.ports.size();
    auto to_spool = [&](const DumpEvent &event) {
        const int64_t ns = event.ns - dump_ns;
        chooser.change(ns);
        const unsigned char unknown = event.unknown ? 1 : 0;
        spool_failed = spool_failed || std::fwrite(&ns, sizeof ns, 1, spool) != 1 ||
                       std::fwrite(&unknown, 1, 1, spool) != 1 ||
                       std::fwrite(event.values.data(), sizeof(uint16_t), n, spool) != n;
        ++spooled;
    };
    int64_t tick_ns = 1;
    // The last state recorded, as the dump's wires show it: a change of the
    // port's other bits alone is none.
    std::vector<uint16_t> shown(n);
    bool shown_unknown = false;
    auto show = [&](const DumpEvent &event) {
        for (std::size_t i = 0; i < n; ++i)
            shown[i] = static_cast<uint16_t>(event.values[i] & masks[i]);
        shown_unknown = event.unknown;
    };
    show(base);

    auto begin_dump = [&]() {
        tick_ns = 1;
        for (int e = -9; e < exponent; ++e)
            tick_ns *= 10;
        dump_ns = trigger_ns - pre_ns > base.ns ? trigger_ns - pre_ns : base.ns;
        if (crowded && base.ns > trigger_ns - pre_ns && events.warn)
            events.warn("kept the last " + std::to_string(kRingEvents) +
                        " changes before the trigger only: the dump starts " +
                        std::to_string(static_cast<double>(trigger_ns - base.ns) / 1e9) + " s before it");
        if (dump_ns < 0)
            dump_ns = 0;
        // What came before the dump's start is the state it starts from.
        while (!ring.empty() && ring.front().ns <= dump_ns) {
            base = std::move(ring.front());
            ring.pop_front();
        }
        if (!settles)
            writer.header(exponent, base);
        for (const DumpEvent &event : ring) {
            if (settles)
                to_spool(event);
            else
                writer.change((event.ns - dump_ns) / tick_ns, event);
        }
        ring.clear();
        dumping = true;
    };
    auto record = [&](DumpEvent &&event) {
        bool same = !event.unknown && !shown_unknown;
        for (std::size_t i = 0; i < n && same; ++i)
            same = (event.values[i] & masks[i]) == shown[i];
        if (same)
            return;
        show(event);
        if (dumping) {
            if (settles)
                to_spool(event);
            else
                writer.change((event.ns - dump_ns) / tick_ns, event);
            return;
        }
        ring.push_back(std::move(event));
        // Before the trigger, what lies more than --pre behind goes, the
        // state it leaves becoming the one the dump starts from.
        const int64_t cutoff = triggered ? -1 : ring.back().ns - pre_ns;
        while (!ring.empty() && (ring.front().ns <= cutoff || ring.size() > kRingEvents)) {
            crowded = crowded || ring.front().ns > cutoff;
            base = std::move(ring.front());
            ring.pop_front();
        }
    };
    auto ended = [&](Clock::time_point now) {
        if (triggered)
            return now - (start + std::chrono::nanoseconds(trigger_ns)) >= length;
        return settings.wait > 0 && now - start >= patience;
    };

    Clock::time_point now = start, after = start, looked = start;
    std::vector<uint16_t> previous = sampler.values();
    bool have_previous = true;
    int slow = 0;
    for (int64_t k = 1; !stop.load(std::memory_order_relaxed); ++k) {
        Clock::time_point before = after;
        if (settings.rate > 0) {
            // Sample k is due at k / rate; one that is late is taken at
            // once, and the slots it missed are skipped, not made up.  A
            // slot due within the capture is taken however late: the
            // capture descheduled at its end still samples to its end.
            const auto due =
                start + std::chrono::duration_cast<Clock::duration>(
                            std::chrono::duration<double>(static_cast<double>(k) / settings.rate));
            now = Clock::now();
            if (ended(due))
                break;
            if (due - now > std::chrono::milliseconds(2))
                std::this_thread::sleep_until(due - std::chrono::milliseconds(1));
            while ((now = Clock::now()) < due) {
            }
            const double behind = std::chrono::duration<double>(now - start).count() * settings.rate;
            if (behind >= static_cast<double>(k + 1))
                k = static_cast<int64_t>(std::floor(behind));
            before = now;
        } else {
            now = after;
            if (ended(now))
                break;
        }
        if (now - looked >= kLookEvery) {
            looked = now;
            rig.look();
        }
        Sampler::Result result = sampler.round();
        after = Clock::now();
        if (result == Sampler::Result::taken && after - before > kSlowRound && ++slow < kSlowTries)
            result = Sampler::Result::moved;
        if (result == Sampler::Result::moved) {
            ++outcome.retaken;
            if (settings.rate > 0)
                --k;  // the same slot again, at once
            continue;
        }
        slow = 0;
        if (result == Sampler::Result::lost) {
            ++outcome.losses;
            const int64_t at = nanos(after - start);
            if (events.warn)
                events.warn("the rig was lost at " + std::to_string(static_cast<double>(at) / 1e9) +
                            " s: its lines are unknown until it is renewed");
            record(DumpEvent{at, previous, true});
            have_previous = false;
            Clock::time_point tried = after;
            bool back = false;
            while (!stop.load(std::memory_order_relaxed)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                now = Clock::now();
                if (ended(now))
                    break;
                if (now - tried >= kTakeBackEvery) {
                    tried = now;
                    if (rig.take_back()) {
                        back = true;
                        break;
                    }
                }
            }
            after = Clock::now();
            if (!back) {
                outcome.lost = true;
                break;
            }
            if (events.warn)
                events.warn("took the renewed rig back at " +
                            std::to_string(static_cast<double>(nanos(after - start)) / 1e9) + " s");
            sampler.taken_back();
            looked = after;
            continue;
        }
        ++outcome.samples;
        const bool changed = sampler.account();
        const int64_t at = nanos(after - start);
        const std::vector<uint16_t> &values = sampler.values();
        if (!triggered && holds(settings.trigger, values, have_previous ? &previous : nullptr)) {
            triggered = outcome.triggered = true;
            trigger_ns = at;
            if (events.triggered)
                events.triggered(static_cast<double>(at) / 1e9);
        }
        if (changed || !have_previous)
            record(DumpEvent{at, values, false});
        if (triggered && !dumping)
            begin_dump();
        previous = values;
        have_previous = true;
    }
    const int64_t last_ns = nanos(after - start);
    outcome.seconds = static_cast<double>(last_ns) / 1e9;
    outcome.missed = sampler.missed();
    if (!triggered)
        return outcome;
    if (!dumping)
        begin_dump();
    if (settles) {
        // The time scale the changes allow, and the changes at it.
        exponent = chooser.exponent();
        tick_ns = 1;
        for (int e = -9; e < exponent; ++e)
            tick_ns *= 10;
        writer.header(exponent, base);
        spool_failed = spool_failed || std::fflush(spool) != 0 || std::fseek(spool, 0, SEEK_SET) != 0;
        DumpEvent event{0, std::vector<uint16_t>(n), false};
        for (int64_t i = 0; i < spooled && !spool_failed; ++i) {
            int64_t ns = 0;
            unsigned char unknown = 0;
            spool_failed = std::fread(&ns, sizeof ns, 1, spool) != 1 || std::fread(&unknown, 1, 1, spool) != 1 ||
                           std::fread(event.values.data(), sizeof(uint16_t), n, spool) != n;
            event.unknown = unknown != 0;
            if (!spool_failed)
                writer.change(ns / tick_ns, event);
        }
        if (spool_failed && events.warn)
            events.warn("the temporary file of the changes failed");
    }
    writer.end((last_ns - dump_ns) / tick_ns);
    outcome.summary = writer.summary();
    outcome.written = !spool_failed && std::fflush(out) == 0 && !std::ferror(out);
    return outcome;
}

}  // namespace daqgate::tools
