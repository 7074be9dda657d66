// test_capture.cpp - the capture's samples: states the ports held together.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "capture.h"
#include "rig.h"
#include "scratch.h"

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

// A test's rig file, removed however the test ends.
struct Removal {
    std::string path;
    ~Removal() { scratch::remove(path); }
};

TEST(Capture, EverySampleIsAStateThePortsHeldTogether)
{
    const std::string path = scratch::path("daqgate-capture-test");
    scratch::remove(path);
    const Removal removal{path};
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
// sample saw, not one missed; changes that no sample saw still count.
TEST(Capture, ACountLandingAfterItsChangeWasSeenIsNoLoss)
{
    const std::string path = scratch::path("daqgate-capture-late");
    const Removal removal{path};
    constexpr int kBoard = 0, kPort = 10;
    const std::size_t latch =
        offsetof(RigLayout, latches) + (kPort * kLatchRow + kBoard) * sizeof(std::atomic<uint16_t>);
    const std::size_t count = offsetof(RigLayout, boards) + kBoard * sizeof(BoardState) +
                              offsetof(BoardState, changes) + kPort * sizeof(std::atomic<uint32_t>);
    for (const uint32_t unseen : {0u, 2u}) {
        SCOPED_TRACE("changes no sample saw: " + std::to_string(unseen));
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
        for (std::size_t i = 1; i < seen.size(); ++i)
            EXPECT_EQ(seen[i].at("b0_p10"), 9u) << dump;
    }
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

}  // namespace
