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
#include <memory>
#include <string>
#include <thread>

#include "periods.h"

namespace daqgate::tools {

using sim::PortId;
using Clock = std::chrono::steady_clock;

namespace {

// A round slower than this may hold a sample from anywhere within it.
constexpr auto kSlowRound = std::chrono::microseconds(20);
constexpr int kSlowTries = 3;
// The longest a stopped capture tries for its closing sample.
constexpr auto kClosingPatience = std::chrono::milliseconds(5);
// The most changes kept before a trigger.
constexpr std::size_t kRingEvents = 1u << 18;
// The pause between two looks for a renewed rig while the rig is lost.
constexpr auto kLostPause = std::chrono::milliseconds(5);

// Undriven at power-up, counts from 0: the state of a rig made anew.
constexpr int kPowerUp = -3;
// A port whose look failed (invalid data in the rig): it holds its value.
constexpr int kInvalid = -2;

int64_t nanos(Clock::duration d)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
}

Clock::duration span_of(double seconds)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

std::string seconds_text(int64_t ns)
{
    return std::to_string(static_cast<double>(ns) / 1e9);
}

// The nanoseconds of one tick at a time scale.
int64_t tick_of(int exponent)
{
    int64_t tick = 1;
    for (int e = -9; e < exponent; ++e)
        tick *= 10;
    return tick;
}

void warn(const CaptureEvents &events, const std::string &text)
{
    if (events.warn)
        events.warn(text);
}

// The writer behind a port as a round closes: the port whose latch drives
// it (or kInvalid, kPowerUp), and how many changes that writer has made.
struct WriterMark {
    int source = kInvalid;
    uint32_t count = 0;
};

bool operator==(const WriterMark &a, const WriterMark &b)
{
    return a.source == b.source && a.count == b.count;
}

// What the sampler holds of one captured port.
struct PortTrack {
    // The round's two reads of the port, and the writer seen behind each.
    uint16_t first_read = 0, second_read = 0;
    int first_source = -1, second_source = -1;
    // The writer as the latest round closed, which is as the next opens.
    WriterMark closing;
    // The state last weighed by account(), and its writer then.
    uint16_t weighed_value = 0;
    WriterMark weighed{-1, 0};
    // The writer owes the count of a change already seen.
    bool owed = false;
};

// Consistent states of the ports, and what their writers changed.
class Sampler {
public:
    Sampler(sim::Rig &rig, const std::vector<PortId> &ports)
        : rig_(rig), ports_(ports), tracks_(ports.size()), values_(ports.size())
    {
    }

    enum class Result { taken, moved, lost };

    Result round()
    {
        for (std::size_t i = 0; i < tracks_.size(); ++i)
            look(i, &tracks_[i].first_read, &tracks_[i].first_source);
        bool still = true;
        for (std::size_t i = 0; i < tracks_.size(); ++i) {
            PortTrack &track = tracks_[i];
            look(i, &track.second_read, &track.second_source);
            const int source = track.second_source;
            const WriterMark closing{source, source >= 0 ? rig_.changes_at(source) : 0};
            still = still && track.first_source == source && track.first_read == track.second_read &&
                    closing == track.closing;
            track.closing = closing;
        }
        // A lost rig reads as zeros: nothing of this round is the rig's.
        if (rig_.lost())
            return Result::lost;
        if (!still)
            return Result::moved;
        for (std::size_t i = 0; i < tracks_.size(); ++i)
            values_[i] = tracks_[i].second_read;
        return Result::taken;
    }

    const std::vector<uint16_t> &values() const { return values_; }

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
        if (as_weighed())
            return false;
        bool visible = false;
        int64_t made = 0, shown = 0;
        for (std::size_t i = 0; i < tracks_.size(); ++i) {
            const bool differs = values_[i] != tracks_[i].weighed_value;
            visible = visible || differs;
            weigh(i, differs, &made, &shown);
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
        for (PortTrack &track : tracks_) {
            track.weighed_value = 0;
            track.weighed = WriterMark{kPowerUp, 0};
            track.owed = false;
            track.closing.source = kInvalid;  // the next round starts afresh
        }
        first_ = false;
    }

    int64_t missed() const { return made_ > seen_ ? made_ - seen_ : 0; }

private:
    void look(std::size_t i, uint16_t *value, int *source)
    {
        if (rig_.shown(ports_[i], value, source) != sim::kNoError) {
            *value = values_[i];  // invalid lines hold their last value
            *source = kInvalid;
        }
    }

    bool as_weighed() const
    {
        for (std::size_t i = 0; i < tracks_.size(); ++i)
            if (values_[i] != tracks_[i].weighed_value || !(tracks_[i].closing == tracks_[i].weighed))
                return false;
        return true;
    }

    // Whether the port's writer is the one weighed last, or one of a rig
    // made anew since (which counts from 0).
    static bool same_writer(const PortTrack &track)
    {
        return track.closing.source == track.weighed.source || track.weighed.source == kPowerUp;
    }

    // What port i's writer made since the last weighing, and of it what
    // the state shows.
    void weigh(std::size_t i, bool differs, int64_t *made, int64_t *shown)
    {
        PortTrack &track = tracks_[i];
        const int source = track.closing.source;
        if (source < 0 || !same_writer(track)) {
            // No count of one writer to weigh: a change of direction or
            // wiring shows as the change itself, and none of it is missed.
            track.owed = false;
            return;
        }
        // A port's writer counts once, however many captured ports show
        // its latch (the two ends of a wire).
        for (std::size_t j = 0; j < i; ++j)
            if (tracks_[j].closing.source == source && same_writer(tracks_[j]))
                return;
        const uint32_t steps = writer_steps(track, differs);
        *made += steps;
        *shown += steps > 0 && differs ? 1 : 0;  // of its changes, the sample shows one
    }

    // The changes a port's writer made since the last weighing, by its count.
    static uint32_t writer_steps(PortTrack &track, bool differs)
    {
        const uint32_t from = track.weighed.source == kPowerUp ? 0 : track.weighed.count;
        uint32_t steps = track.closing.count - from;
        // A count that went backwards was reset with its rig.
        if (steps > 0x80000000u)
            steps = track.closing.count;
        // The writer's next count is that of the change already seen
        // before it (its one write under way).
        if (track.owed && steps > 0) {
            --steps;
            track.owed = false;
        }
        if (steps == 0 && differs) {
            // A write stores its latch before its count: a change with no
            // count yet is that write, seen in between.
            track.owed = true;
            steps = 1;
        }
        return steps;
    }

    void keep()
    {
        for (std::size_t i = 0; i < tracks_.size(); ++i) {
            tracks_[i].weighed_value = values_[i];
            tracks_[i].weighed = tracks_[i].closing;
        }
    }

    sim::Rig &rig_;
    const std::vector<PortId> &ports_;
    std::vector<PortTrack> tracks_;
    std::vector<uint16_t> values_;  // the last state taken
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

// The bits form without a rate chooses its time scale from its changes
// once it has them all: they wait in the spool meanwhile, in nanoseconds,
// a record each.  Memory stays as it is however long the capture; the
// spool takes what the dump will, or less.
bool settles(const CaptureSettings &settings)
{
    return settings.form == DumpForm::bits && settings.rate <= 0;
}

// The time scale known from the start: the bits form's at a rate, 1 ns
// for the rest (and a placeholder while a settling one waits).
int first_exponent(const CaptureSettings &settings)
{
    return settings.form == DumpForm::bits && settings.rate > 0 ? timescale_exponent(1.0 / settings.rate) : -9;
}

// Where the dump's changes go once it has begun: to the writer at once,
// or to the spool until the last of them chooses the time scale.
class DumpSink {
public:
    DumpSink(DumpWriter &writer, int exponent, std::FILE *spool, std::size_t ports)
        : writer_(writer), exponent_(exponent), tick_ns_(tick_of(exponent)), spool_(spool), ports_(ports)
    {
    }

    // The dump begins dump_ns after the first sample, from the state base.
    void begin(int64_t dump_ns, const DumpEvent &base)
    {
        dump_ns_ = dump_ns;
        if (spool_ != nullptr)
            base_ = base;
        else
            writer_.header(exponent_, base);
    }

    void put(const DumpEvent &event)
    {
        if (spool_ == nullptr) {
            writer_.change((event.ns - dump_ns_) / tick_ns_, event);
            return;
        }
        const int64_t ns = event.ns - dump_ns_;
        chooser_.change(ns);
        const unsigned char unknown = event.unknown ? 1 : 0;
        spool_failed_ = spool_failed_ || std::fwrite(&ns, sizeof ns, 1, spool_) != 1 ||
                        std::fwrite(&unknown, 1, 1, spool_) != 1 ||
                        std::fwrite(event.values.data(), sizeof(uint16_t), ports_, spool_) != ports_;
        ++spooled_;
    }

    // The dump's end, last_ns after the first sample; the spooled changes
    // written first.  False if the spool failed.
    bool end(int64_t last_ns, const CaptureEvents &events)
    {
        if (spool_ != nullptr)
            write_spooled(events);
        writer_.end((last_ns - dump_ns_) / tick_ns_);
        return !spool_failed_;
    }

private:
    // The time scale the changes allow, and the changes at it.
    void write_spooled(const CaptureEvents &events)
    {
        exponent_ = chooser_.exponent();
        tick_ns_ = tick_of(exponent_);
        writer_.header(exponent_, base_);
        spool_failed_ = spool_failed_ || std::fflush(spool_) != 0 || std::fseek(spool_, 0, SEEK_SET) != 0;
        DumpEvent event{0, std::vector<uint16_t>(ports_), false};
        for (int64_t i = 0; i < spooled_ && !spool_failed_; ++i) {
            int64_t ns = 0;
            unsigned char unknown = 0;
            spool_failed_ = std::fread(&ns, sizeof ns, 1, spool_) != 1 || std::fread(&unknown, 1, 1, spool_) != 1 ||
                            std::fread(event.values.data(), sizeof(uint16_t), ports_, spool_) != ports_;
            event.unknown = unknown != 0;
            if (!spool_failed_)
                writer_.change(ns / tick_ns_, event);
        }
        if (spool_failed_)
            warn(events, "the temporary file of the changes failed");
    }

    DumpWriter &writer_;
    int exponent_;
    int64_t tick_ns_;
    std::FILE *spool_;  // null when the changes go to the writer at once
    std::size_t ports_;
    int64_t dump_ns_ = 0;
    DumpEvent base_;  // the state a spooled dump starts from
    ScaleChooser chooser_;
    int64_t spooled_ = 0;
    bool spool_failed_ = false;
};

// The trigger, and the changes before the dump begins: they wait in a
// ring after the state they start from, what lies more than --pre behind
// the latest leaving it for that state, until the trigger is met.
class PreTrigger {
public:
    PreTrigger(const CaptureSettings &settings, DumpEvent base, DumpSink &sink)
        : trigger_(settings.trigger),
          pre_ns_(static_cast<int64_t>(settings.pre * 1e9)),
          sink_(sink),
          base_(std::move(base)),
          triggered_(settings.trigger.kind == Trigger::Kind::none),
          shown_(base_.values.size())
    {
        for (std::size_t i = 0; i < settings.ports.size(); ++i)
            masks_.push_back(settings.form == DumpForm::bits ? bit_mask(settings.bits, i) : kAllBits);
        show(base_);
    }

    bool triggered() const { return triggered_; }
    int64_t trigger_ns() const { return trigger_ns_; }
    bool dumping() const { return dumping_; }

    // Whether the trigger, not met yet, holds at the sample at `at`: it is
    // met there.
    bool meet(const std::vector<uint16_t> &now, const std::vector<uint16_t> *before, int64_t at)
    {
        if (triggered_ || !holds(trigger_, now, before))
            return false;
        triggered_ = true;
        trigger_ns_ = at;
        return true;
    }

    // A state, kept where the dump's wires show it changed.
    void record(DumpEvent &&event)
    {
        if (as_shown(event))
            return;
        show(event);
        if (dumping_) {
            sink_.put(event);
            return;
        }
        ring_.push_back(std::move(event));
        const int64_t cutoff = triggered_ ? -1 : ring_.back().ns - pre_ns_;
        while (!ring_.empty() && (ring_.front().ns <= cutoff || ring_.size() > kRingEvents)) {
            crowded_ = crowded_ || ring_.front().ns > cutoff;
            base_ = std::move(ring_.front());
            ring_.pop_front();
        }
    }

    // The dump begun --pre before the trigger, or at the oldest state
    // kept: what came before is the state it starts from.
    void begin_dump(const CaptureEvents &events)
    {
        const int64_t wanted = trigger_ns_ - pre_ns_;
        int64_t dump_ns = wanted > base_.ns ? wanted : base_.ns;
        if (crowded_ && base_.ns > wanted)
            warn(events, "kept the last " + std::to_string(kRingEvents) +
                             " changes before the trigger only: the dump starts " +
                             seconds_text(trigger_ns_ - base_.ns) + " s before it");
        if (dump_ns < 0)
            dump_ns = 0;
        while (!ring_.empty() && ring_.front().ns <= dump_ns) {
            base_ = std::move(ring_.front());
            ring_.pop_front();
        }
        sink_.begin(dump_ns, base_);
        for (const DumpEvent &event : ring_)
            sink_.put(event);
        ring_.clear();
        dumping_ = true;
    }

private:
    // Whether a state shows as the last one recorded: a change of a port's
    // bits that the dump leaves out is none.
    bool as_shown(const DumpEvent &event) const
    {
        if (event.unknown || shown_unknown_)
            return false;
        for (std::size_t i = 0; i < shown_.size(); ++i)
            if ((event.values[i] & masks_[i]) != shown_[i])
                return false;
        return true;
    }

    void show(const DumpEvent &event)
    {
        for (std::size_t i = 0; i < shown_.size(); ++i)
            shown_[i] = static_cast<uint16_t>(event.values[i] & masks_[i]);
        shown_unknown_ = event.unknown;
    }

    const Trigger &trigger_;
    const int64_t pre_ns_;
    std::vector<uint16_t> masks_;  // each port's wires in the dump
    DumpSink &sink_;
    DumpEvent base_;  // the state the dump starts from, so far
    std::deque<DumpEvent> ring_;
    bool crowded_ = false;  // changes within --pre dropped for room
    bool triggered_;
    int64_t trigger_ns_ = 0;
    bool dumping_ = false;
    std::vector<uint16_t> shown_;  // the last state recorded, as the dump's wires show it
    bool shown_unknown_ = false;
};

// The times of the samples.  At a rate, sample k is due at k / rate from
// the first; one that is late is taken at once, and the slots it missed
// are skipped, not made up.  Without a rate, each follows the last at once.
class Pacer {
public:
    Pacer(double rate, Clock::time_point start) : rate_(rate), start_(start) {}

    bool paced() const { return rate_ > 0; }

    Clock::time_point due() const { return start_ + span_of(static_cast<double>(slot_) / rate_); }

    // Waits until due, and gives the time the sample starts at.
    Clock::time_point wait(Clock::time_point due)
    {
        Clock::time_point now = Clock::now();
        if (due - now > std::chrono::milliseconds(2))
            std::this_thread::sleep_until(due - std::chrono::milliseconds(1));
        while ((now = Clock::now()) < due) {
        }
        const double behind = std::chrono::duration<double>(now - start_).count() * rate_;
        if (behind >= static_cast<double>(slot_ + 1))
            slot_ = static_cast<int64_t>(std::floor(behind));
        return now;
    }

    // The slot is done with (its sample taken, or the rig lost in it); a
    // round taken again stays in its slot.
    void next() { ++slot_; }

private:
    double rate_;
    Clock::time_point start_;
    int64_t slot_ = 1;
};

// The first sample: where times start, and the writers' counts with them.
// False when the capture ends before it (stopped, or the rig lost).
bool take_first(Sampler &sampler, const CaptureEvents &events, const std::atomic<bool> &stop,
                Clock::time_point *start, CaptureOutcome *outcome)
{
    for (;;) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const Sampler::Result result = sampler.round();
        *start = Clock::now();
        if (result == Sampler::Result::taken)
            break;
        if (result == Sampler::Result::lost) {
            warn(events, "the rig is lost: run 'simboard reset' to renew it");
            outcome->lost = true;
            outcome->losses = 1;
            return false;
        }
    }
    sampler.account();
    outcome->samples = 1;
    if (events.begun)
        events.begun();
    return true;
}

// The samples after the first, each timed from the end of its round, until
// the capture's end.
class Sampling {
public:
    Sampling(sim::Rig &rig, const CaptureSettings &settings, const CaptureEvents &events,
             const std::atomic<bool> &stop, Sampler &sampler, PreTrigger &recorder, Clock::time_point start)
        : rig_(rig),
          events_(events),
          stop_(stop),
          sampler_(sampler),
          recorder_(recorder),
          start_(start),
          length_(span_of(settings.seconds)),
          patience_(settings.wait > 0 ? span_of(settings.wait) : Clock::duration::max()),
          pacer_(settings.rate, start),
          after_(start),
          looked_(start),
          previous_(sampler.values())
    {
    }

    // Samples until the time is up, the capture is stopped, or the rig
    // stays lost; the nanoseconds from the first sample to the last.
    int64_t run(CaptureOutcome *outcome)
    {
        for (;;) {
            if (stop_.load(std::memory_order_relaxed)) {
                closing_sample(outcome);
                break;
            }
            Clock::time_point before;
            if (!next_round(&before))
                break;
            const Sampler::Result result = timed_round(before);
            if (result == Sampler::Result::moved)
                continue;  // the same slot again, at once
            if (result == Sampler::Result::lost) {
                ++outcome->losses;
                if (!renewed()) {
                    outcome->lost = true;
                    break;
                }
            } else {
                ++outcome->samples;
                sampled();
            }
            pacer_.next();
        }
        return nanos(after_ - start_);
    }

private:
    bool ended(Clock::time_point now) const
    {
        if (recorder_.triggered())
            return now - (start_ + std::chrono::nanoseconds(recorder_.trigger_ns())) >= length_;
        return now - start_ >= patience_;
    }

    // Waits for the next round's time, and looks at the rig file when it
    // is due; false at the capture's end.
    bool next_round(Clock::time_point *before)
    {
        Clock::time_point now = after_;
        if (pacer_.paced()) {
            // A slot due within the capture is taken however late: the
            // capture descheduled at its end still samples to its end.
            const Clock::time_point due = pacer_.due();
            if (ended(due))
                return false;
            now = pacer_.wait(due);
        } else if (ended(now)) {
            return false;
        }
        *before = now;
        if (now - looked_ >= sim::kLookPeriod) {
            looked_ = now;
            rig_.look();
        }
        return true;
    }

    // A round, its sample stamped when it ends, so that no value is
    // stamped earlier than it was seen; a slow one is taken again.
    Sampler::Result timed_round(Clock::time_point before)
    {
        Sampler::Result result = sampler_.round();
        after_ = Clock::now();
        if (result == Sampler::Result::taken && after_ - before > kSlowRound && ++slow_ < kSlowTries)
            result = Sampler::Result::moved;
        if (result != Sampler::Result::moved)
            slow_ = 0;
        return result;
    }

    // Stopped: the state as the stop is seen, so that the dump reaches the
    // stop and what the writers did since the last sample is weighed.  The
    // capture may have been off the processor from that sample until the
    // stop.  Ports that keep moving get a few more rounds.
    void closing_sample(CaptureOutcome *outcome)
    {
        const Clock::time_point until = Clock::now() + kClosingPatience;
        for (;;) {
            const Sampler::Result result = sampler_.round();
            after_ = Clock::now();
            if (result == Sampler::Result::taken) {
                ++outcome->samples;
                sampled();
                return;
            }
            if (result == Sampler::Result::lost) {
                ++outcome->losses;
                outcome->lost = true;
                mark_lost();
                return;
            }
            if (after_ >= until)
                return;
        }
    }

    // From the end of the latest round the rig's lines are unknown.
    void mark_lost()
    {
        const int64_t at = nanos(after_ - start_);
        warn(events_, "the rig was lost at " + seconds_text(at) + " s: its lines are unknown until it is renewed");
        recorder_.record(DumpEvent{at, previous_, true});
        have_previous_ = false;
    }

    // The rig lost: its lines unknown from here, until a renewed rig is
    // taken back (true) or the capture ends first.
    bool renewed()
    {
        mark_lost();
        const bool back = wait_for_renewed_rig();
        after_ = Clock::now();
        if (!back)
            return false;
        warn(events_, "took the renewed rig back at " + seconds_text(nanos(after_ - start_)) + " s");
        sampler_.taken_back();
        looked_ = after_;
        return true;
    }

    bool wait_for_renewed_rig()
    {
        Clock::time_point tried = after_;
        while (!stop_.load(std::memory_order_relaxed)) {
            std::this_thread::sleep_for(kLostPause);
            const Clock::time_point now = Clock::now();
            if (ended(now))
                return false;
            if (now - tried >= sim::kTakeBackPeriod) {
                tried = now;
                if (rig_.take_back())
                    return true;
            }
        }
        return false;
    }

    // A sample taken: weighed, tried against the trigger, and recorded.
    void sampled()
    {
        const bool changed = sampler_.account();
        const int64_t at = nanos(after_ - start_);
        const std::vector<uint16_t> &values = sampler_.values();
        if (recorder_.meet(values, have_previous_ ? &previous_ : nullptr, at) && events_.triggered)
            events_.triggered(static_cast<double>(at) / 1e9);
        if (changed || !have_previous_)
            recorder_.record(DumpEvent{at, values, false});
        if (recorder_.triggered() && !recorder_.dumping())
            recorder_.begin_dump(events_);
        previous_ = values;
        have_previous_ = true;
    }

    sim::Rig &rig_;
    const CaptureEvents &events_;
    const std::atomic<bool> &stop_;
    Sampler &sampler_;
    PreTrigger &recorder_;
    const Clock::time_point start_;
    const Clock::duration length_;    // from the trigger
    const Clock::duration patience_;  // the longest wait for the trigger
    Pacer pacer_;
    Clock::time_point after_;   // the end of the latest round
    Clock::time_point looked_;  // the latest look at the rig file
    std::vector<uint16_t> previous_;
    bool have_previous_ = true;  // false from a loss to the next sample
    int slow_ = 0;               // slow rounds in a row
};

}  // namespace

CaptureOutcome capture(sim::Rig &rig, const CaptureSettings &settings, std::FILE *out,
                       const CaptureEvents &events, const std::atomic<bool> &stop)
{
    CaptureOutcome outcome;
    Sampler sampler(rig, settings.ports);
    Clock::time_point start;
    if (!take_first(sampler, events, stop, &start, &outcome))
        return outcome;
    DumpWriter writer(out, settings.form, settings.ports, settings.bits, settings.link);
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> own_spool(nullptr, std::fclose);
    std::FILE *spool = nullptr;
    if (settles(settings)) {
        if (settings.spool == nullptr)
            own_spool.reset(std::tmpfile());
        spool = settings.spool != nullptr ? settings.spool : own_spool.get();
    }
    DumpSink sink(writer, first_exponent(settings), spool, settings.ports.size());
    PreTrigger recorder(settings, DumpEvent{0, sampler.values(), false}, sink);
    if (recorder.meet(sampler.values(), nullptr, 0) && events.triggered)
        events.triggered(0.0);
    outcome.triggered = recorder.triggered();
    if (settles(settings) && spool == nullptr) {
        warn(events, "cannot make a temporary file for the changes");
        return outcome;
    }
    Sampling sampling(rig, settings, events, stop, sampler, recorder, start);
    const int64_t last_ns = sampling.run(&outcome);
    outcome.seconds = static_cast<double>(last_ns) / 1e9;
    outcome.missed = sampler.missed();
    outcome.triggered = recorder.triggered();
    if (!outcome.triggered)
        return outcome;
    if (!recorder.dumping())
        recorder.begin_dump(events);
    const bool spooled = sink.end(last_ns, events);
    outcome.summary = writer.summary();
    outcome.written = spooled && std::fflush(out) == 0 && !std::ferror(out);
    return outcome;
}

}  // namespace daqgate::tools
