// simboard - inspect and drive the simulated rig from the command line.
//
// Works on the same rig file as the simulated driver ($DAQGATE_RIG, or the
// per-user default), so it sees and changes what running scripts see.
#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "rig.h"

using namespace daqgate::sim;

namespace {

constexpr const char *kPrefix = "simboard: ";

int report(Status status)
{
    if (status == kNoError)
        return 0;
    char text[256];
    status_text(status, text, sizeof text);
    std::fprintf(stderr, "%s%s (status %d)\n", kPrefix, text, static_cast<int>(status));
    return 1;
}

// "B.P" names port P of board B.
PortId parse_port(const std::string &text)
{
    PortId id{-1, -1};
    std::size_t used = 0;
    const std::size_t dot = text.find('.');
    try {
        if (dot == std::string::npos)
            throw std::invalid_argument(text);
        id.board = std::stoi(text.substr(0, dot), &used);
        if (used != dot)
            throw std::invalid_argument(text);
        const std::string port = text.substr(dot + 1);
        id.port = std::stoi(port, &used);
        if (used != port.size())
            throw std::invalid_argument(text);
    } catch (const std::logic_error &) {
        throw CLI::ValidationError("port", "'" + text + "' is not BOARD.PORT, e.g. 0.10");
    }
    if (!Rig::valid(id))
        throw CLI::ValidationError("port", "'" + text + "' names no port: boards 0-3, ports 0-31");
    return id;
}

const char *direction_name(int direction)
{
    return direction == kOutput ? "out" : direction == kInput ? "in" : "?";
}

void show_ports(const Rig &rig)
{
    char name[32];
    for (int board = 0; board < kBoards; ++board) {
        board_name(board, name, sizeof name);
        std::printf("board %d: %s\n", board, name);
        for (int port = 0; port < kPorts; ++port) {
            uint16_t value = 0;
            rig.read_port(board, port, &value);
            const PortId id{board, port};
            std::printf("  %2d %-3s 0x%04x%s", port, direction_name(rig.direction_of(id)), value,
                        port % 4 == 3 ? "\n" : "   ");
        }
    }
}

// Wires in runs: "0.0-31 <-> 1.0-31" for the default wiring of two boards.
void show_wiring(const Rig &rig)
{
    std::printf("wiring\n");
    bool any = false;
    for (int index = 0; index < kPortCount; ++index) {
        const PortId a{index / kPorts, index % kPorts};
        const PortId b = rig.peer_of(a);
        if (b.board < 0 || b.index() < a.index())
            continue;  // unwired, or shown from its other end
        // Extend the run while both ends step on by one port.
        int length = 1;
        while (a.port + length < kPorts && b.port + length < kPorts) {
            const PortId next = rig.peer_of(PortId{a.board, a.port + length});
            if (next.board != b.board || next.port != b.port + length)
                break;
            ++length;
        }
        if (length == 1)
            std::printf("  %d.%d <-> %d.%d\n", a.board, a.port, b.board, b.port);
        else
            std::printf("  %d.%d-%d <-> %d.%d-%d\n", a.board, a.port, a.port + length - 1,
                        b.board, b.port, b.port + length - 1);
        index += length - 1;
        any = true;
    }
    if (!any)
        std::printf("  (no wires)\n");
}

}  // namespace

int main(int argc, char **argv)
{
    CLI::App app{"Inspect and drive the simulated data-acquisition rig.", "simboard"};
    app.require_subcommand(1);
    std::string path = default_rig_path();
    app.add_option("--rig", path, "rig file (default: $DAQGATE_RIG or a per-user file in /dev/shm)");

    std::string first, second, value_text;
    auto port_option = [](CLI::App *command, std::string &into, const char *name) {
        command->add_option(name, into, "port as BOARD.PORT, e.g. 0.10")->required();
    };

    CLI::App *reset = app.add_subcommand("reset", "power-up state: all ports inputs at 0, default wiring");
    CLI::App *show = app.add_subcommand("show", "boards, port directions and values, wiring");
    CLI::App *wire = app.add_subcommand("wire", "join two unwired ports");
    port_option(wire, first, "A");
    port_option(wire, second, "B");
    CLI::App *unwire = app.add_subcommand("unwire", "separate two ports wired to each other");
    port_option(unwire, first, "A");
    port_option(unwire, second, "B");
    CLI::App *direction = app.add_subcommand("direction", "set a port's direction");
    port_option(direction, first, "PORT");
    direction->add_option("DIRECTION", value_text, "in or out")
        ->required()
        ->check(CLI::IsMember({"in", "out"}));
    CLI::App *write = app.add_subcommand("write", "write a value to an output port");
    port_option(write, first, "PORT");
    int value = 0;
    write->add_option("VALUE", value, "0 to 65535")->required()->check(CLI::Range(0, 65535));
    CLI::App *read = app.add_subcommand("read", "print a port's value");
    port_option(read, first, "PORT");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &error) {
        // --help exits 0; every malformed command line exits 2.
        return app.exit(error) == 0 ? 0 : 2;
    }

    Rig rig;
    // reset renews a rig file of another layout instead of refusing it.
    if (const Status status = rig.open(path, reset->parsed()); status != kNoError)
        return report(status);

    try {
        if (reset->parsed()) {
            rig.reset();
        } else if (show->parsed()) {
            show_ports(rig);
            show_wiring(rig);
        } else if (wire->parsed()) {
            return report(rig.wire(parse_port(first), parse_port(second)));
        } else if (unwire->parsed()) {
            return report(rig.unwire(parse_port(first), parse_port(second)));
        } else if (direction->parsed()) {
            const PortId id = parse_port(first);
            return report(rig.set_direction(id.board, id.port, value_text == "out" ? kOutput : kInput));
        } else if (write->parsed()) {
            const PortId id = parse_port(first);
            return report(rig.write_port(id.board, id.port, static_cast<uint16_t>(value)));
        } else if (read->parsed()) {
            const PortId id = parse_port(first);
            uint16_t word = 0;
            const Status status = rig.read_port(id.board, id.port, &word);
            if (status == kNoError)
                std::printf("%u\n", word);
            return report(status);
        }
    } catch (const CLI::ValidationError &error) {
        std::fprintf(stderr, "%s%s\n", kPrefix, error.what());
        return 2;
    }
    return 0;
}
