// test_capture.cpp - the capture's samples: states the ports held together.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include <CLI/CLI.hpp>

#include "capture.h"
#include "capture_options.h"
#include "rig.h"
#include "scratch.h"
#include "views.h"

using namespace daqgate::sim;
using namespace daqgate::tools;

namespace {

std::string contents(std::FILE *file)
{
    std::string text;
    std::rewind(file);
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
        text.append(block, got);
    return text;
}

// The states of a vector dump, one a time, each port's value by its name.
std::vector<std::map<std::string, unsigned>> states(const std::string &dump)
{
    std::map<std::string, std::string> names;
    std::map<std::string, unsigned> now;
    std::vector<std::map<std::string, unsigned>> all;
    std::istringstream lines(dump);
    bool timed = false;
    for (std::string line; std::getline(lines, line);) {
        char id[8], name[32];
        if (std::sscanf(line.c_str(), "$var wire 16 %7s %31s $end", id, name) == 2) {
            names[id] = name;
        } else if (line[0] == '#') {
            if (timed)
                all.push_back(now);
            timed = true;
        } else if (line[0] == 'b') {
            char digits[17], which[8];
            if (std::sscanf(line.c_str(), "b%16s %7s", digits, which) == 2)
                now[names[which]] = static_cast<unsigned>(std::stoul(digits, nullptr, 2));
        }
    }
    if (timed)
        all.push_back(now);
    return all;
}

TEST(Capture, EverySampleIsAStateThePortsHeldTogether)
{
    const scratch::File rig_file("daqgate-capture-test");
    const std::string &path = rig_file.path;
    {
        Rig rig;
        ASSERT_EQ(rig.open(path), kNoError);
        ASSERT_EQ(rig.set_direction(0, 10, kOutput), kNoError);
        ASSERT_EQ(rig.set_direction(0, 11, kOutput), kNoError);
        // A writer as the link's: data first, then the flag, each step one
        // more (modulo 2^15), as fast as it can.  At any instant the data
        // is the flag or one ahead of it; a capture that read the ports one
        // after another would find the flag ahead of the data.
        std::FILE *out = std::tmpfile();
        ASSERT_NE(out, nullptr);
        std::atomic<bool> done{false};
        std::thread writer([&] {
            for (unsigned k = 1; !done.load(std::memory_order_relaxed); ++k) {
                rig.write_port(0, 10, static_cast<uint16_t>(k & 0x7fff));
                rig.write_port(0, 11, static_cast<uint16_t>(k & 0x7fff));
            }
        });
        CaptureSettings settings;
        settings.ports = {PortId{0, 10}, PortId{0, 11}, PortId{1, 10}};
        settings.seconds = 1;
        const std::atomic<bool> stop{false};
        const CaptureOutcome outcome = capture(rig, settings, out, CaptureEvents{}, stop);
        done = true;
        writer.join();
        EXPECT_TRUE(outcome.written);
        EXPECT_TRUE(outcome.triggered);
        EXPECT_EQ(outcome.losses, 0);
        const std::string dump = contents(out);
        std::fclose(out);
        const auto seen = states(dump);
        ASSERT_GE(seen.size(), 2u) << dump.substr(0, 2000);
        for (std::size_t i = 0; i < seen.size(); ++i) {
            const auto &state = seen[i];
            const unsigned data = state.at("b0_p10"), flag = state.at("b0_p11");
            const unsigned ahead = (data - flag) & 0x7fff;
            EXPECT_TRUE(ahead == 0 || ahead == 1) << "state " << i << ": data " << data << ", flag " << flag;
            EXPECT_EQ(state.at("b1_p10"), data) << "state " << i << ": the wire's far end";
        }
        // Each state after the first was a change the writer made; what it
        // made that no state showed is counted.
        EXPECT_GE(outcome.samples, static_cast<int64_t>(seen.size()));
    }
}

// Stores `value` at `offset` in the rig's file, as another process's
// store to the mapping would land.
template <typename T>
void poke(const std::string &path, std::size_t offset, T value)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    ASSERT_TRUE(file.is_open());
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(reinterpret_cast<const char *>(&value), sizeof value);
    file.flush();
    ASSERT_TRUE(file.good());
}

// A writer stores its latch, then its count of changes: a sample may fall
// between the two.  The count that lands after is that of the change the
// sample saw, not one missed; changes that no sample saw still count, and
// count once when both ends of the writer's wire are captured.
TEST(Capture, ACountLandingAfterItsChangeWasSeenIsNoLoss)
{
    const scratch::File rig_file("daqgate-capture-late");
    const std::string &path = rig_file.path;
    constexpr int kBoard = 0, kPort = 10;
    const std::size_t latch =
        offsetof(RigLayout, latches) + (kPort * kLatchRow + kBoard) * sizeof(std::atomic<uint16_t>);
    const std::size_t count = offsetof(RigLayout, boards) + kBoard * sizeof(BoardState) +
                              offsetof(BoardState, changes) + kPort * sizeof(std::atomic<uint32_t>);
    for (const bool both_ends : {false, true}) {
        for (const uint32_t unseen : {0u, 2u}) {
            SCOPED_TRACE(std::to_string(unseen) + " changes no sample saw" +
                         (both_ends ? ", both ends" : ""));
            scratch::remove(path);
            Rig rig;
            ASSERT_EQ(rig.open(path), kNoError);
            ASSERT_EQ(rig.set_direction(kBoard, kPort, kOutput), kNoError);
            std::FILE *out = std::tmpfile();
            ASSERT_NE(out, nullptr);
            std::atomic<bool> begun{false};
            CaptureEvents events;
            events.begun = [&] { begun = true; };
            // The sample that shows 9 meets the trigger; its count lands only
            // then, with those of the changes made since that no sample saw.
            events.triggered = [&](double) { poke<uint32_t>(path, count, 1 + unseen); };
            std::thread writer([&] {
                while (!begun.load())
                    std::this_thread::yield();
                poke<uint16_t>(path, latch, 9);
            });
            CaptureSettings settings;
            settings.ports = {PortId{kBoard, kPort}};
            if (both_ends)
                settings.ports.push_back(PortId{1, kPort});  // the far end of its wire
            settings.trigger = Trigger{Trigger::Kind::equals, 0, 9};
            settings.pre = 1;
            settings.wait = 60;
            settings.seconds = 0.05;
            const std::atomic<bool> stop{false};
            const CaptureOutcome outcome = capture(rig, settings, out, events, stop);
            writer.join();
            const std::string dump = contents(out);
            std::fclose(out);
            ASSERT_TRUE(outcome.triggered);
            EXPECT_EQ(outcome.missed, static_cast<int64_t>(unseen));
            const auto seen = states(dump);
            // One change, 0 to 9 (and the state at the dump's end).
            ASSERT_GE(seen.size(), 2u) << dump;
            EXPECT_EQ(seen[0].at("b0_p10"), 0u);
            for (std::size_t i = 1; i < seen.size(); ++i) {
                EXPECT_EQ(seen[i].at("b0_p10"), 9u) << dump;
                if (both_ends) {
                    EXPECT_EQ(seen[i].at("b1_p10"), 9u) << dump;
                }
            }
        }
    }
}

// A capture stopped samples once more as it sees the stop: it may have
// been off the processor since its last sample while the writers worked,
// and what they did meanwhile is in the dump, or counted as missed.
TEST(Capture, AStoppedCaptureTakesTheStateAtItsStop)
{
    const scratch::File rig_file("daqgate-capture-stop");
    Rig rig;
    ASSERT_EQ(rig.open(rig_file.path), kNoError);
    ASSERT_EQ(rig.set_direction(0, 10, kOutput), kNoError);
    ASSERT_EQ(rig.set_direction(0, 11, kOutput), kNoError);
    std::FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    std::atomic<bool> stop{false};
    CaptureEvents events;
    // Between the first sample and the stop: port 10 to 5, then 9; port 11
    // to 3.
    events.begun = [&] {
        rig.write_port(0, 10, 5);
        rig.write_port(0, 10, 9);
        rig.write_port(0, 11, 3);
        stop = true;
    };
    CaptureSettings settings;
    settings.ports = {PortId{0, 10}, PortId{0, 11}};
    settings.seconds = 600;
    const CaptureOutcome outcome = capture(rig, settings, out, events, stop);
    const std::string dump = contents(out);
    std::fclose(out);
    EXPECT_TRUE(outcome.written);
    EXPECT_FALSE(outcome.lost);
    EXPECT_EQ(outcome.samples, 2);
    EXPECT_EQ(outcome.missed, 1);  // the 5, which no sample saw
    const auto seen = states(dump);
    ASSERT_EQ(seen.size(), 2u) << dump;  // the first, and the stop where the dump ends
    EXPECT_EQ(seen[0].at("b0_p10"), 0u);
    EXPECT_EQ(seen[0].at("b0_p11"), 0u);
    EXPECT_EQ(seen[1].at("b0_p10"), 9u);
    EXPECT_EQ(seen[1].at("b0_p11"), 3u);
}

// An edge between the first sample and the second is an edge: the second
// sample is weighed against the first.  An edge trigger holds on its own
// edge alone: a level that stays, or the other edge, never meets it.
TEST(Capture, AnEdgeJustAfterTheFirstSampleMeetsTheTrigger)
{
    struct Case {
        Trigger::Kind kind;
        uint16_t before, after;
        bool meets;
    };
    const Case cases[] = {
        {Trigger::Kind::rise, 0, 1, true},    {Trigger::Kind::rise, 1, 1, false},
        {Trigger::Kind::rise, 1, 0, false},   {Trigger::Kind::fall, 1, 0, true},
        {Trigger::Kind::fall, 0, 0, false},   {Trigger::Kind::fall, 0, 1, false},
        {Trigger::Kind::change, 0, 1, true},  {Trigger::Kind::change, 5, 5, false},
    };
    for (const Case &c : cases) {
        const std::string name = std::to_string(static_cast<int>(c.kind)) + ": " + std::to_string(c.before) +
                                 " to " + std::to_string(c.after);
        const scratch::File rig_file("daqgate-capture-edge");
        Rig rig;
        ASSERT_EQ(rig.open(rig_file.path), kNoError);
        ASSERT_EQ(rig.set_direction(0, 10, kOutput), kNoError);
        ASSERT_EQ(rig.write_port(0, 10, c.before), kNoError);
        std::FILE *out = std::tmpfile();
        ASSERT_NE(out, nullptr);
        CaptureEvents events;
        events.begun = [&] { rig.write_port(0, 10, c.after); };
        double at = -1;
        events.triggered = [&](double seconds) { at = seconds; };
        CaptureSettings settings;
        settings.ports = {PortId{0, 10}};
        settings.trigger = Trigger{c.kind, 0, 0};
        settings.wait = 0.05;
        settings.seconds = 0.01;
        const std::atomic<bool> stop{false};
        const CaptureOutcome outcome = capture(rig, settings, out, events, stop);
        std::fclose(out);
        EXPECT_EQ(outcome.triggered, c.meets) << name;
        if (c.meets)
            EXPECT_GT(at, 0.0) << name;
        else
            EXPECT_EQ(at, -1) << name;
    }
}

// At a rate, a capture that falls behind skips the slots it missed: it
// never takes more samples than its slots, however late it runs.
TEST(Capture, ALateCaptureSkipsTheSlotsItMissed)
{
    const scratch::File rig_file("daqgate-capture-late-slots");
    Rig rig;
    ASSERT_EQ(rig.open(rig_file.path), kNoError);
    std::FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    CaptureEvents events;
    // Two and a half slots late from the start.
    events.begun = [] { std::this_thread::sleep_for(std::chrono::milliseconds(25)); };
    CaptureSettings settings;
    settings.ports = {PortId{0, 10}};
    settings.rate = 100;
    settings.seconds = 0.1;
    const std::atomic<bool> stop{false};
    const CaptureOutcome outcome = capture(rig, settings, out, events, stop);
    std::fclose(out);
    EXPECT_TRUE(outcome.written);
    // The first, then at most slots 2 to 9: slot 10 is the capture's end.
    EXPECT_GE(outcome.samples, 1);
    EXPECT_LE(outcome.samples, 9);
}

// VCD readers take times that rise strictly: two states that fall in one
// tick of the time scale (a late sample, then one on time) are written a
// tick apart, in their order; a one-bit dump writes only the bits that
// changed, and a lost rig as every bit unknown.
TEST(Capture, DumpTimesRiseStrictlyAndBitsChangeAlone)
{
    const std::vector<PortId> ports = {PortId{0, 10}};
    std::FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        DumpWriter writer(out, DumpForm::bits, ports);
        writer.header(-6, DumpEvent{0, {0}, false});
        writer.change(5, DumpEvent{0, {1}, false});
        writer.change(5, DumpEvent{0, {3}, false});
        writer.change(4, DumpEvent{0, {2}, false});
        writer.change(9, DumpEvent{0, {2}, true});
        writer.end(7);
    }
    const std::string dump = contents(out);
    std::fclose(out);
    const std::string changes = dump.substr(dump.find("$end\n#5"));
    std::string unknown;
    for (int bit = 0; bit < 16; ++bit)
        unknown += "x" + vcd_identifier(bit) + "\n";
    EXPECT_EQ(changes, "$end\n#5\n1!\n#6\n1\"\n#7\n0!\n#9\n" + unknown) << dump;
    EXPECT_NE(dump.find("$timescale 1 us $end"), std::string::npos) << dump;
}

// A vector dump's times are nanoseconds from the first sample: that
// sample's state at #0, and the dump's end at the capture's length.
TEST(Capture, AVectorDumpCountsItsNanosecondsFromTheFirstSample)
{
    const scratch::File rig_file("daqgate-capture-origin");
    const std::string &path = rig_file.path;
    Rig rig;
    ASSERT_EQ(rig.open(path), kNoError);
    std::FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    CaptureSettings settings;
    settings.ports = {PortId{0, 10}};
    settings.seconds = 0.02;
    const std::atomic<bool> stop{false};
    const CaptureOutcome outcome = capture(rig, settings, out, CaptureEvents{}, stop);
    ASSERT_TRUE(outcome.written);
    const std::string dump = contents(out);
    std::fclose(out);
    const long long length = std::llround(outcome.seconds * 1e9);
    EXPECT_GE(length, 20'000'000);
    EXPECT_NE(dump.find("$timescale 1 ns $end"), std::string::npos) << dump;
    EXPECT_NE(dump.find("$enddefinitions $end\n#0\n$dumpvars\n"), std::string::npos) << dump;
    // No change on an undriven port: the end is the dump's one time after 0.
    const std::string end = "$end\n#" + std::to_string(length) + "\n";
    ASSERT_GE(dump.size(), end.size());
    EXPECT_EQ(dump.substr(dump.size() - end.size()), end) << dump;
    EXPECT_EQ(outcome.summary.end, length);
}

// The coarsest time scale at which each change keeps a tick of its own,
// after the tick 0 of the starting state; 1 s with no change at all.
TEST(Capture, TheTimeScaleIsTheCoarsestThatKeepsChangesApart)
{
    struct Case {
        std::vector<int64_t> ns;
        int exponent;
    };
    const Case cases[] = {
        {{}, 0},
        {{1'000'000'000}, 0},
        {{999'999'999}, -1},           // 0.999 s falls in the first second, with time 0
        {{1'500}, -6},                 // 1 us: tick 1; 10 us: tick 0, time 0's
        {{2'000'000, 2'500'000}, -4},  // 1 ms: both at 2; 100 us: 20 and 25
        {{2'000'000, 2'999'999}, -4},
        {{2'000'000, 3'000'000}, -3},
        {{10, 11, 12}, -9},
        {{100, 199, 200}, -8},
    };
    for (const Case &c : cases) {
        ScaleChooser chooser;
        for (const int64_t ns : c.ns)
            chooser.change(ns);
        EXPECT_EQ(chooser.exponent(), c.exponent) << testing::PrintToString(c.ns);
    }
}

// Without a rate, the bits form's dump has its changes at the time scale
// they allow, each at its own tick and in order, the wires of the bit
// lists alone; a change of the other bits of a port is none.
TEST(Capture, ABitsDumpWithoutARateKeepsItsChangesApartAtTheCoarsestScale)
{
    const scratch::File rig_file("daqgate-capture-scale");
    const std::string &path = rig_file.path;
    Rig rig;
    ASSERT_EQ(rig.open(path), kNoError);
    ASSERT_EQ(rig.set_direction(0, 10, kOutput), kNoError);
    std::FILE *out = std::tmpfile();
    std::FILE *spool = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ASSERT_NE(spool, nullptr);
    std::atomic<bool> begun{false}, done{false};
    CaptureEvents events;
    events.begun = [&] { begun = true; };
    // Bit 0 toggles every 30 ms (at least), bit 8 between: four changes of
    // the dump's one wire, the other bit's changes none of its.
    std::thread writer([&] {
        while (!begun.load())
            std::this_thread::yield();
        for (unsigned k = 1; k <= 4; ++k) {
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            rig.write_port(0, 10, static_cast<uint16_t>(((k - 1) & 1u) | 0x100u));
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            rig.write_port(0, 10, static_cast<uint16_t>(k & 1u));
        }
        done = true;
    });
    CaptureSettings settings;
    settings.ports = {PortId{0, 10}};
    settings.form = DumpForm::bits;
    settings.bits = {0x0001};
    settings.seconds = 600;
    settings.spool = spool;
    std::atomic<bool> stop{false};
    std::thread stopper([&] {
        while (!done.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stop = true;
    });
    const CaptureOutcome outcome = capture(rig, settings, out, events, stop);
    writer.join();
    stopper.join();
    ASSERT_TRUE(outcome.written);
    const std::string dump = contents(out);
    std::fclose(out);
    std::fclose(spool);
    // One wire declared; changes of bit 8 alone write no time.
    EXPECT_NE(dump.find("$scope module rig $end\n$var wire 1 ! b0_p10.0 $end\n$upscope $end\n"), std::string::npos)
        << dump;
    std::vector<long long> ticks;
    std::string values;
    std::istringstream lines(dump.substr(dump.find("$dumpvars")));
    for (std::string line; std::getline(lines, line);) {
        if (line[0] == '#')
            ticks.push_back(std::stoll(line.substr(1)));
        else if (line == "0!" || line == "1!")
            values += line[0];
    }
    // Four changes of bit 0 after its first 0, each at its own tick; a
    // machine that kept the capture from the rig for a while may have made
    // it miss some, which it then counts (each missed change of bit 0 a
    // change of the port at least), and the changes it saw still alternate.
    const int seen = static_cast<int>(values.size()) - 1;
    if (outcome.missed == 0) {
        EXPECT_EQ(values, "01010") << dump;
    }
    EXPECT_EQ(values, std::string("01010").substr(0, values.size())) << dump;
    EXPECT_GE(outcome.missed, 4 - seen) << dump;
    // Changes 30 ms apart or more (15 ms sleeps, twice): at 10 ms they
    // fall apart; the changes and the end follow time 0, in order.
    EXPECT_GE(outcome.summary.exponent, -2) << dump;
    EXPECT_LE(outcome.summary.exponent, -1) << dump;
    const std::string scale = outcome.summary.exponent == -2 ? "10 ms" : "100 ms";
    EXPECT_NE(dump.find("$timescale " + scale + " $end"), std::string::npos) << dump;
    ASSERT_EQ(ticks.size(), static_cast<std::size_t>(seen) + 1) << dump;  // the changes, the end (after #0)
    ASSERT_GE(seen, 1) << dump;
    EXPECT_GT(ticks[0], 0) << dump;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_LT(ticks[i - 1], ticks[i]) << dump;
    EXPECT_EQ(outcome.summary.changed, std::vector<uint16_t>{1});
    EXPECT_EQ(outcome.summary.first_change, ticks[0]);
    EXPECT_EQ(outcome.summary.end, ticks.back());
}

TEST(Capture, BitListsNameEachPortsWires)
{
    const std::vector<PortId> ports = {PortId{0, 10}, PortId{0, 11}, PortId{0, 14}};
    EXPECT_EQ(parse_bit_lists("0.10:0-7,0.11:0,0.14:0", ports), (BitMasks{0x00ff, 0x0001, 0x0001}));
    EXPECT_EQ(parse_bit_lists("0.14:15+0-1+4", ports), (BitMasks{0xffff, 0xffff, 0x8013}));
    EXPECT_EQ(parse_bit_lists("0.11:3", ports), (BitMasks{0xffff, 0x0008, 0xffff}));
    const char *const refused[][2] = {
        {"0.12:0", "port 0.12 is not among the captured ports"},
        {"0.10:0,0.10:1", "port 0.10 is named twice"},
        {"0.10", "'0.10' is not B.P:BITS"},
        {"0.10:7-3", "'7-3' runs backwards"},
        {"0.10:16", "--bits"},
        {"0.10:", "--bits"},
        {"0.10:1-", "--bits"},
    };
    for (const auto &r : refused) {
        try {
            parse_bit_lists(r[0], ports);
            ADD_FAILURE() << r[0] << " was taken";
        } catch (const CLI::ValidationError &error) {
            EXPECT_NE(std::string(error.what()).find(r[1]), std::string::npos) << r[0] << ": " << error.what();
        }
    }
}

// The command's words as the capture takes them, and each refusal in the
// words the user reads.
TEST(Capture, OptionsBecomeSettingsOrAreRefusedByName)
{
    CaptureRequest request;
    request.ports = "0.10,0.11,0.14";
    request.seconds = "2";
    request.out = "dump.vcd";
    request.rate = "1000";
    request.bits = "0.10:0-7,0.11:0,0.14:0";
    request.trigger = "0.11=0x1";
    request.pre = "0.5";
    request.wait = "3";
    const CaptureSettings taken = capture_settings(request);
    EXPECT_EQ(taken.ports.size(), 3u);
    EXPECT_EQ(taken.seconds, 2.0);
    EXPECT_EQ(taken.rate, 1000.0);
    EXPECT_EQ(taken.form, DumpForm::bits);
    EXPECT_EQ(taken.bits, (BitMasks{0x00ff, 0x0001, 0x0001}));
    EXPECT_TRUE(taken.link.present);
    EXPECT_EQ(taken.link.data + 10 * taken.link.sender + 100 * taken.link.receiver, 0u + 10 + 200);
    EXPECT_EQ(taken.trigger.kind, Trigger::Kind::equals);
    EXPECT_EQ(taken.trigger.port, 1u);
    EXPECT_EQ(taken.trigger.value, 1u);
    EXPECT_EQ(taken.pre, 0.5);
    EXPECT_EQ(taken.wait, 3.0);
    const Trigger fall = parse_trigger("0.14:fall", taken.ports);
    EXPECT_EQ(fall.kind, Trigger::Kind::fall);
    EXPECT_EQ(fall.port, 2u);

    // Each row changes one word of a plain request: the word, its text, and
    // the refusal.
    const char *const refused[][3] = {
        {"rate", "0.5", "--rate: '0.5' is not 1 to 1e9 samples a second"},
        {"link", "0.10,0.11", "--link: '0.10,0.11' is not DATA,SENDER,RECEIVER ports"},
        {"link", "0.10,0.11,0.15", "--link: port 0.15 is not among the captured ports"},
        {"trigger", "0.11", "--trigger: '0.11' is not B.P=VALUE, B.P:rise, B.P:fall or B.P:change"},
        {"trigger", "0.12=1", "--trigger: port 0.12 is not among the captured ports"},
        {"trigger", "0.11=65536", "--trigger: '65536' is not a value 0 to 65535"},
        {"trigger", "0.11=-1", "--trigger: '-1' is not a value 0 to 65535"},
        {"trigger", "0.11:up", "--trigger: 'up' is not rise, fall or change"},
        {"pre", "1", "--pre: --pre and --wait go with --trigger only"},
        {"wait", "1", "--pre: --pre and --wait go with --trigger only"},
        {"out", ".", "--out: '.' is a directory"},
    };
    for (const auto &r : refused) {
        CaptureRequest plain;
        plain.ports = "0.10,0.11,0.14";
        plain.seconds = "1";
        plain.out = "dump.vcd";
        const std::string word = r[0];
        std::string &into = word == "rate"      ? plain.rate
                            : word == "link"    ? plain.link
                            : word == "trigger" ? plain.trigger
                            : word == "pre"     ? plain.pre
                            : word == "wait"    ? plain.wait
                                                : plain.out;
        into = r[1];
        try {
            capture_settings(plain);
            ADD_FAILURE() << word << " " << r[1] << " was taken";
        } catch (const CLI::ValidationError &error) {
            EXPECT_EQ(std::string(error.what()), r[2]) << word << " " << r[1];
        }
    }
}

// The link's three port assignments are found on any board, among other
// ports, where the dump carries the decoder's wires.
TEST(Capture, LinkEndsAreFoundInTheLinksPortAssignments)
{
    auto found = [](const std::vector<PortId> &ports, DumpForm form, const BitMasks &bits) {
        const LinkWires link = find_link(ports, form, bits);
        return link.present ? std::to_string(link.data) + std::to_string(link.sender) + std::to_string(link.receiver)
                            : std::string("none");
    };
    EXPECT_EQ(found({{0, 10}, {0, 11}, {0, 14}}, DumpForm::bits, {}), "012");
    EXPECT_EQ(found({{1, 5}, {1, 14}, {1, 11}, {1, 10}}, DumpForm::vectors, {}), "321");
    EXPECT_EQ(found({{0, 12}, {0, 16}, {0, 15}}, DumpForm::bits, {}), "210");
    EXPECT_EQ(found({{2, 10}, {2, 15}, {2, 14}}, DumpForm::bits, {}), "210");
    EXPECT_EQ(found({{0, 10}, {0, 11}, {1, 14}}, DumpForm::bits, {}), "none");
    EXPECT_EQ(found({{0, 10}, {0, 11}, {0, 14}}, DumpForm::bits, {0x007f, 1, 1}), "none");
    EXPECT_EQ(found({{0, 10}, {0, 11}, {0, 14}}, DumpForm::bits, {0x00ff, 2, 1}), "none");
    EXPECT_EQ(found({{0, 10}, {0, 11}, {0, 14}}, DumpForm::bits, {0x00ff, 1, 1}), "012");
}

// The dump's summary: the link's first transfer runs from its first
// request to the done of its line feed.
TEST(Capture, TheSummaryFindsTheFirstTransfer)
{
    const std::vector<PortId> ports = {PortId{0, 10}, PortId{0, 11}, PortId{0, 14}};
    std::FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    DumpWriter writer(out, DumpForm::bits, ports, {0x00ff, 1, 1}, LinkWires{true, 0, 1, 2});
    writer.header(-6, DumpEvent{0, {0, 0, 0}, false});
    const uint16_t steps[][4] = {
        {500, 0x41, 0, 0},  {1000, 0x48, 1, 0}, {1500, 0x48, 1, 1}, {2000, 0x48, 0, 1}, {2500, 0x48, 0, 0},
        {2600, 0x0a, 1, 0}, {2800, 0x0a, 1, 1}, {2900, 0x0a, 0, 1}, {3000, 0x0a, 0, 0}, {3100, 0x20, 1, 0},
    };
    for (const auto &step : steps)
        writer.change(step[0], DumpEvent{0, {step[1], step[2], step[3]}, false});
    writer.end(5000);
    std::fclose(out);
    const DumpSummary &summary = writer.summary();
    EXPECT_EQ(summary.exponent, -6);
    EXPECT_EQ(summary.end, 5000);
    EXPECT_EQ(summary.first_change, 500);
    EXPECT_EQ(summary.early_end, 2900);  // the eighth change
    EXPECT_EQ(summary.transfer_begin, 1000);
    EXPECT_EQ(summary.transfer_end, 3000);
    EXPECT_EQ(summary.changed, (std::vector<uint16_t>{0x6b, 1, 1}));
}

// A request already up in the dump's first state began before the dump:
// the first transfer is the next request.
TEST(Capture, ARequestUpAtTheStartIsNoTransferOfTheDump)
{
    const std::vector<PortId> ports = {PortId{0, 10}, PortId{0, 11}, PortId{0, 14}};
    std::FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    DumpWriter writer(out, DumpForm::bits, ports, {0x00ff, 1, 1}, LinkWires{true, 0, 1, 2});
    writer.header(-6, DumpEvent{0, {0x41, 1, 0}, false});
    writer.change(100, DumpEvent{0, {0x41, 1, 1}, false});
    EXPECT_EQ(writer.summary().transfer_begin, -1);
    writer.change(200, DumpEvent{0, {0x41, 0, 1}, false});
    writer.change(300, DumpEvent{0, {0x41, 0, 0}, false});
    writer.change(400, DumpEvent{0, {0x0a, 1, 0}, false});
    writer.end(500);
    std::fclose(out);
    EXPECT_EQ(writer.summary().transfer_begin, 400);
    EXPECT_EQ(writer.summary().transfer_end, 500);  // under way at the dump's end
}

// A rig renewed under a capture comes back at power-up: the bits that
// differ across the loss are the renewal's, not the signal's, and the
// views show only what changed between known states.
TEST(Capture, TheSummaryTakesNoChangeAcrossALoss)
{
    const std::vector<PortId> ports = {PortId{0, 10}};
    std::FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    DumpWriter writer(out, DumpForm::vectors, ports);
    writer.header(-9, DumpEvent{0, {0x0005}, false});
    writer.change(100, DumpEvent{100, {0x0005}, true});  // lost, holding its last state
    writer.change(200, DumpEvent{200, {0x0000}, false});  // renewed at power-up
    writer.change(300, DumpEvent{300, {0x0010}, false});
    writer.end(400);
    std::fclose(out);
    EXPECT_EQ(writer.summary().changed, std::vector<uint16_t>{0x0010});
    EXPECT_EQ(writer.summary().first_change, 100);
}

TEST(Capture, PulseViewTimesAreItsDecimals)
{
    const std::string head = "22 serialization::archive 18 0 0 0 0 ";
    EXPECT_EQ(pulseview_time(0, 0), head + "0 0 0 0 0 0 0 0 0 6");
    EXPECT_EQ(pulseview_time(109, -2), head + "1 9000000 0 0 0 0 0 0 0 6");   // 1.09 s
    EXPECT_EQ(pulseview_time(900, -6), head + "90000 0 0 0 0 0 -8 0 0 6");    // 0.0009 s
    EXPECT_EQ(pulseview_time(3, 0), head + "3 0 0 0 0 0 0 0 0 6");
    EXPECT_EQ(pulseview_time(123456789, -9), head + "12345678 90000000 0 0 0 0 -8 0 0 6");
    EXPECT_EQ(pulseview_time(250000000000LL, -8), head + "2500 0 0 0 0 0 0 0 0 6");  // 2500 s
}

// The view of a capture of the link as tests/sim/views/link.vcd holds it:
// "H" and a line feed.
ViewInput link_view()
{
    ViewInput input;
    input.dump = "link.vcd";
    input.ports = {PortId{0, 10}, PortId{0, 11}, PortId{0, 14}};
    input.form = DumpForm::bits;
    input.bits = {0x00ff, 0x0001, 0x0001};
    input.link = LinkWires{true, 0, 1, 2};
    input.summary.exponent = -6;
    input.summary.end = 5000;
    input.summary.first_change = 1000;
    input.summary.early_end = 1400;
    input.summary.changed = {0x4f, 1, 1};
    input.summary.transfer_begin = 1000;
    input.summary.transfer_end = 3000;
    return input;
}

// An INI file's values by SECTION\\KEY, [General]'s by KEY; within
// `group` alone when one is named (PulseView's own settings file).
std::map<std::string, std::string> ini(const std::string &text, const std::string &group = "")
{
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string section;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty())
            continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        if (!group.empty()) {
            if (section == group)
                values[key] = line.substr(equals + 1);
        } else {
            values[section == "General" ? key : section + "\\" + key] = line.substr(equals + 1);
        }
    }
    return values;
}

// What the session sets is what PulseView 0.4.2 took from it: the session
// that it saved itself (tests/sim/views/pulseview_saved.conf, its group of
// the last session, after loading link.vcd beside this session) holds
// every key of it at the same value, its zoom and the decoder's channels
// among them.
TEST(Capture, PulseViewKeepsTheSessionAsWritten)
{
    std::ifstream file(std::string(DAQGATE_VIEWS_FIXTURES) + "/pulseview_saved.conf");
    ASSERT_TRUE(file.is_open());
    const std::string saved_text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto saved = ini(saved_text, "Session0");
    const auto ours = ini(pulseview_session(link_view()));
    ASSERT_EQ(ours.count("decode_signal0\\decoder0\\id"), 1u);
    for (const auto &[key, value] : ours) {
        const auto found = saved.find(key);
        ASSERT_NE(found, saved.end()) << key;
        EXPECT_EQ(found->second, value) << key;
    }
    EXPECT_EQ(ours.at("decode_signal0\\channel8\\assigned_signal_name"), "b0_p11.0");
    EXPECT_EQ(ours.at("decode_signal0\\channel9\\assigned_signal_name"), "b0_p14.0");
    // 900 us to 3100 us over 850 pixels.
    EXPECT_EQ(ours.at("view0\\offset"), pulseview_time(900, -6));
    EXPECT_NEAR(std::stod(ours.at("view0\\scale")), 2200e-6 / 850, 1e-15);
}

// Without a link, the wires that changed show and the others are hidden;
// the view opens on the first changes.
TEST(Capture, ViewsShowTheWiresThatChanged)
{
    ViewInput input = link_view();
    input.link = LinkWires{};
    input.bits = {0xffff, 0x0003, 0x0001};
    input.summary.changed = {0x0041, 0x0002, 0};
    const auto session = ini(pulseview_session(input));
    EXPECT_EQ(session.at("decode_signals"), "0");
    EXPECT_EQ(session.count("decode_signal0\\decoders"), 0u);
    std::string enabled;
    for (const auto &[key, value] : session)
        if (key.size() > 8 && key.compare(key.size() - 8, 8, "\\enabled") == 0 && value == "true")
            enabled += key.substr(0, key.size() - 8) + " ";
    EXPECT_EQ(enabled, "b0_p10.0 b0_p10.6 b0_p11.1 ");
    EXPECT_EQ(session.count("b0_p11.2\\enabled"), 0u);  // not in the dump
    EXPECT_EQ(session.at("b0_p14.0\\enabled"), "false");
    // 1000 to 1400 us, a twentieth more each side.
    EXPECT_EQ(session.at("view0\\offset"), pulseview_time(980, -6));
    const std::string gtkw = gtkwave_save(input);
    EXPECT_NE(gtkw.find("[timestart] 980\n"), std::string::npos) << gtkw;
    EXPECT_NE(gtkw.find("\n@28\nrig.\\b0_p10.0\n@28\nrig.\\b0_p10.6\n@28\nrig.\\b0_p11.1\n"), std::string::npos) << gtkw;
    EXPECT_EQ(gtkw.find("b0_p14"), std::string::npos) << gtkw;
}

// GTKWave's view of the link: the data as text and hex beside both flags,
// 2^-z / 200 ticks a pixel over 1000 pixels from the window's start.
TEST(Capture, GtkWaveShowsTheLinksTransfer)
{
    const std::string bits = " rig.\\b0_p10.7 rig.\\b0_p10.6 rig.\\b0_p10.5 rig.\\b0_p10.4 rig.\\b0_p10.3 "
                             "rig.\\b0_p10.2 rig.\\b0_p10.1 rig.\\b0_p10.0";
    char zoom[32];
    std::snprintf(zoom, sizeof zoom, "*%.6f 900", -std::log2(2200.0 / 1000 * 200));
    std::string markers;
    for (int i = 0; i < 26; ++i)
        markers += " -1";
    EXPECT_EQ(gtkwave_save(link_view()),
              "[dumpfile] \"link.vcd\"\n[timestart] 900\n[size] 1280 400\n[signals_width] 250\n"
              "[sst_expanded] 0\n" +
                  std::string(zoom) + markers + "\n@820\n#{b0_p10_as_text}" + bits + "\n@22\n#{b0_p10_hex}" + bits +
                  "\n@28\n+{sender_bit_b0_p11} rig.\\b0_p11.0\n+{receiver_bit_b0_p14} rig.\\b0_p14.0\n");
    ViewInput vectors = link_view();
    vectors.form = DumpForm::vectors;
    vectors.bits.clear();
    const std::string gtkw = gtkwave_save(vectors);
    EXPECT_NE(gtkw.find("#{b0_p10_as_text} (8)rig.b0_p10[15:0] (9)rig.b0_p10[15:0]"), std::string::npos) << gtkw;
    EXPECT_NE(gtkw.find("+{sender_bit_b0_p11} (15)rig.b0_p11[15:0]\n"), std::string::npos) << gtkw;
}

}  // namespace
