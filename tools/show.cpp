// show.cpp - the rig as 'simboard show' prints it.
#include "show.h"

#include <cstdio>
#include <string>

using namespace daqgate::sim;

namespace daqgate::tools {

namespace {

const char *direction_name(int direction)
{
    return direction == kOutput ? "out" : direction == kInput ? "in" : "?";
}

// What the rig holds is shown as it is; what is invalid says so.
void show_ports(const Rig &rig)
{
    char name[CB_BOARDNAMELEN];
    for (int board = 0; board < kBoards; ++board) {
        board_name(board, name, sizeof name);
        std::printf("board %d: %s\n", board, name);
        for (int port = 0; port < kBoardTable[board].ports; ++port) {
            uint16_t value = 0;
            const bool valid = rig.read_port(board, port, &value) == kNoError;
            const int direction = rig.direction_of(PortId{board, port});
            char shown[16];
            if (valid)
                std::snprintf(shown, sizeof shown, "0x%04x", value);
            else
                std::snprintf(shown, sizeof shown, "%s", "invalid");
            std::printf("  %2d %-3s %-7s%s", port, direction_name(direction), shown,
                        port % 4 == 3 ? "\n" : "  ");
        }
    }
}

// Wires in runs: "0.0-31 <-> 1.0-31" for the default wiring of two boards.
void show_wiring(const Rig &rig)
{
    std::printf("wiring\n");
    bool any = false;
    for (int index = 0; index < kPortCount; ++index) {
        const PortId a = PortId::at(index);
        PortId b{};
        if (rig.peer_of(a, &b) != kNoError) {
            std::printf("  %d.%d <-> invalid port index %d\n", a.board, a.port, b.port);
            any = true;
            continue;
        }
        if (b.board < 0 || b.index() < a.index())
            continue;  // unwired, or shown from its other end
        // Extend the run while both ends step on by one port.
        int length = 1;
        while (a.port + length < kBoardTable[a.board].ports && b.port + length < kBoardTable[b.board].ports) {
            PortId next{};
            if (rig.peer_of(PortId{a.board, a.port + length}, &next) != kNoError || next.board != b.board ||
                next.port != b.port + length)
                break;
            ++length;
        }
        if (length == 1)
            std::printf("  %d.%d <-> %d.%d\n", a.board, a.port, b.board, b.port);
        else
            std::printf("  %d.%d-%d <-> %d.%d-%d\n", a.board, a.port, a.port + length - 1, b.board, b.port,
                        b.port + length - 1);
        index += length - 1;
        any = true;
    }
    if (!any)
        std::printf("  (no wires)\n");
}

void show_analog(const Rig &rig)
{
    for (int board = 0; board < kBoards; ++board) {
        std::printf("board %d analog outputs:", board);
        for (int output = 0; output < kBoardTable[board].outputs; ++output) {
            double volts = 0;
            if (rig.output_volts(board, output, &volts) == kNoError)
                std::printf("%s %d = %.4f V", output ? "," : "", output, volts);
            else
                std::printf("%s %d = invalid", output ? "," : "", output);
        }
        std::printf("\n");
        for (int channel = 0; channel < kBoardTable[board].inputs; ++channel) {
            Signal in;
            if (rig.signal(board, channel, &in) != kNoError) {
                std::printf("  input %2d: invalid signal\n", channel);
                continue;
            }
            char described[128];
            signal_kind_info(in.kind)->describe(in, described, sizeof described);
            std::printf("  input %2d: %s%s", channel, signal_name(in.kind), described);
            if (signal_kind_info(in.kind)->recorded) {
                char name[kRecordingName + 1];
                rig.recording_name(in.recording, name, sizeof name);
                std::printf(" (%s)", name);
            }
            std::printf("\n");
        }
        short channels[kQueueLength], ranges[kQueueLength];
        int entries = 0;
        if (rig.gain_queue(board, channels, ranges, &entries) != kNoError) {
            std::printf("  gain queue: invalid length %d\n", entries);
            continue;
        }
        std::printf("  gain queue:");
        if (entries == 0)
            std::printf(" (empty)");
        for (int i = 0; i < entries; ++i)
            std::printf(" %d/%d", channels[i], ranges[i]);
        std::printf("\n");
    }
}

std::string fault_text(const FaultView &fault)
{
    const FaultSpec &spec = fault.spec;
    std::string text = "board " + std::to_string(spec.board) + " " + operation_info(spec.operation)->name;
    if (spec.target == Target::port)
        text += " port " + std::to_string(spec.which);
    if (spec.target == Target::channel)
        text += " channel " + std::to_string(spec.which);
    text += " status " + std::to_string(spec.status);
    if (spec.after > 0)
        text += ", after " + std::to_string(spec.after);
    text += spec.times < 0    ? ", until cleared"
            : spec.times == 1 ? ", once"
                              : ", " + std::to_string(spec.times) + " times";
    text += ": " + std::to_string(fault.seen) + " calls seen, struck " + std::to_string(fault.struck);
    if (fault.spent)
        text += ", spent";
    return text;
}

// The bench's settings: each board's latency and every fault armed.
void show_bench(const Rig &rig)
{
    std::printf("bench\n");
    bool any = false;
    for (int board = 0; board < kBoards; ++board) {
        if (const uint32_t micros = rig.latency(board); micros > 0) {
            std::printf("  board %d latency %.6f s\n", board, micros / 1e6);
            any = true;
        }
    }
    for (int slot = 0; slot < kFaults; ++slot) {
        FaultView fault;
        if (rig.fault(slot, &fault)) {
            std::printf("  fault %d: %s\n", slot, fault_text(fault).c_str());
            any = true;
        }
    }
    if (!any)
        std::printf("  (no latency, no faults)\n");
}

}  // namespace

void show_rig(const Rig &rig)
{
    show_ports(rig);
    show_wiring(rig);
    show_analog(rig);
    show_bench(rig);
}

}  // namespace daqgate::tools
