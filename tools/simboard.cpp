// simboard - inspect and drive the simulated rig from the command line.
//
// Works on the same rig file as the simulated driver ($DAQGATE_RIG, or the
// per-user default), so it sees and changes what running scripts see.
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "arguments.h"
#include "capture.h"
#include "dumpfile.h"
#include "peer.h"
#include "recording.h"
#include "rig.h"
#include "show.h"

using namespace daqgate::sim;
using namespace daqgate::tools;

namespace {

constexpr const char *kPrefix = "simboard: ";

int report(Status status)
{
    if (status == kNoError)
        return 0;
    char text[CB_ERRSTRLEN];
    status_text(status, text, sizeof text);
    std::fprintf(stderr, "%s%s (status %d)\n", kPrefix, text, static_cast<int>(status));
    return 1;
}

int report(const PeerOutcome &outcome)
{
    switch (outcome.result) {
    case PeerResult::done: return 0;
    case PeerResult::timed_out:
        std::fprintf(stderr, "%stimed out %s\n", kPrefix, outcome.where.c_str());
        return 1;
    case PeerResult::driver_failed:
        std::fprintf(stderr, "%sfailed %s:\n", kPrefix, outcome.where.c_str());
        return report(outcome.status);
    }
    return 1;
}

// A signal from its kind's name and numbers, as the table of kinds says.
Signal parse_signal(const SignalKindInfo *info, const std::vector<std::string> &values)
{
    const std::string name = info->name;
    std::vector<double> numbers;
    for (const std::string &value : values)
        numbers.push_back(parse_number(value, "VALUES"));
    if (numbers.size() < static_cast<std::size_t>(info->least) ||
        numbers.size() > static_cast<std::size_t>(info->most))
        throw CLI::ValidationError("VALUES", "wrong count of numbers for '" + name + "'");
    Signal signal;
    signal.kind = info->kind();
    for (std::size_t i = 0; i < numbers.size(); ++i)
        signal.parameters[i] = numbers[i];
    if (const char *why = signal_fault(signal))
        throw CLI::ValidationError("VALUES", why);
    return signal;
}

// The kinds and their numbers, for the command's help.
std::string signal_usage()
{
    std::size_t count = 0;
    const SignalKindInfo *kinds = signal_kinds(&count);
    std::string usage;
    for (std::size_t i = 0; i < count; ++i) {
        usage += (i ? " | " : "") + std::string(kinds[i].name);
        if (*kinds[i].parameters != '\0')
            usage += std::string(" ") + kinds[i].parameters;
    }
    return usage;
}

// The operations that faults act on, for the command's help.
std::string operation_usage()
{
    std::size_t count = 0;
    const OperationInfo *all = operations(&count);
    std::string usage;
    for (std::size_t i = 0; i < count; ++i)
        usage += (i ? ", " : "") + std::string(all[i].name);
    return usage;
}

// 'fault B OPERATION STATUS' and its options, as the rig holds it.
FaultSpec parse_fault(const std::vector<std::string> &words, int port, int channel, long long after,
                      long long times)
{
    if (words.size() != 3)
        throw CLI::ValidationError("fault", "takes BOARD OPERATION STATUS, or clear [BOARD]");
    FaultSpec spec;
    spec.board = static_cast<int>(parse_integer(words[0], "BOARD", 0, kBoards - 1));
    const OperationInfo *info = operation_named(words[1].c_str());
    if (info == nullptr)
        throw CLI::ValidationError("OPERATION", "'" + words[1] + "' is not one of " + operation_usage());
    spec.operation = info->operation;
    spec.status = static_cast<int>(parse_integer(words[2], "STATUS", INT_MIN, INT_MAX));
    if (spec.status == 0)
        throw CLI::ValidationError("STATUS", "0 is success, not a fault");
    if (port >= 0 || channel >= 0) {
        const Target wanted = port >= 0 ? Target::port : Target::channel;
        if (info->target != wanted)
            throw CLI::ValidationError(
                port >= 0 ? "--port" : "--channel",
                std::string(info->name) + " takes no " + (port >= 0 ? "port" : "channel"));
        spec.target = wanted;
        spec.which = port >= 0 ? port : channel;
    }
    spec.after = after;
    spec.times = times;
    return spec;
}

std::atomic<bool> interrupted{false};

extern "C" void on_interrupt(int)
{
    interrupted.store(true);
}

// The capture command's words, as given.
struct CaptureRequest {
    std::string ports, out, seconds, rate, trigger, pre, wait;
    bool bits = false;
};

// B.P=VALUE, or B.P:rise, B.P:fall, B.P:change, on one of the captured ports.
Trigger parse_trigger(const std::string &text, const std::vector<PortId> &ports)
{
    const std::size_t mark = text.find_first_of("=:");
    if (mark == std::string::npos)
        throw CLI::ValidationError("--trigger",
                                   "'" + text + "' is not B.P=VALUE, B.P:rise, B.P:fall or B.P:change");
    const PortId id = parse_port(text.substr(0, mark));
    Trigger trigger;
    bool found = false;
    for (std::size_t i = 0; i < ports.size() && !found; ++i)
        if (ports[i].index() == id.index()) {
            trigger.port = i;
            found = true;
        }
    if (!found)
        throw CLI::ValidationError("--trigger", "port " + std::to_string(id.board) + "." +
                                                    std::to_string(id.port) +
                                                    " is not among the captured ports");
    const std::string condition = text.substr(mark + 1);
    if (text[mark] == '=') {
        trigger.kind = Trigger::Kind::equals;
        const char *begin = condition.c_str();
        char *end = nullptr;
        errno = 0;
        const unsigned long value = std::strtoul(begin, &end, 0);
        if (condition.empty() || !std::isdigit(static_cast<unsigned char>(condition[0])) || *end != '\0' ||
            errno == ERANGE || value > 65535)
            throw CLI::ValidationError("--trigger", "'" + condition + "' is not a value 0 to 65535");
        trigger.value = static_cast<uint16_t>(value);
    } else if (condition == "rise") {
        trigger.kind = Trigger::Kind::rise;
    } else if (condition == "fall") {
        trigger.kind = Trigger::Kind::fall;
    } else if (condition == "change") {
        trigger.kind = Trigger::Kind::change;
    } else {
        throw CLI::ValidationError("--trigger", "'" + condition + "' is not rise, fall or change");
    }
    return trigger;
}

// 'capture': the ports sampled into a dump written beside --out and put
// in its place when whole, however the capture ends (its time, Ctrl-C,
// SIGTERM, SIGHUP); a capture killed outright leaves the old --out alone.
int run_capture(Rig &rig, const CaptureRequest &request)
{
    CaptureSettings settings;
    settings.ports = parse_ports(request.ports);
    settings.seconds = parse_seconds(request.seconds, "--seconds", false);
    if (!request.rate.empty()) {
        settings.rate = parse_number(request.rate, "--rate");
        if (!(settings.rate >= 1 && settings.rate <= 1e9))
            throw CLI::ValidationError("--rate", "'" + request.rate + "' is not 1 to 1e9 samples a second");
    }
    settings.form = request.bits ? DumpForm::bits : DumpForm::vectors;
    if (!request.trigger.empty())
        settings.trigger = parse_trigger(request.trigger, settings.ports);
    if (request.trigger.empty() && (!request.pre.empty() || !request.wait.empty()))
        throw CLI::ValidationError("--pre", "--pre and --wait go with --trigger only");
    if (!request.pre.empty())
        settings.pre = parse_seconds(request.pre, "--pre", true);
    if (!request.wait.empty())
        settings.wait = parse_seconds(request.wait, "--wait", false);
    const std::string &path = request.out;
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw CLI::ValidationError("--out", "'" + path + "' is a directory");

    DumpFile dump;
    switch (dump.open(path)) {
    case DumpFile::Opened::ready: break;
    case DumpFile::Opened::busy:
        std::fprintf(stderr, "%sanother capture is writing '%s'\n", kPrefix, path.c_str());
        return 1;
    case DumpFile::Opened::failed:
        std::fprintf(stderr, "%scannot write '%s'\n", kPrefix, path.c_str());
        return 1;
    }
    static char buffer[1 << 20];
    std::setvbuf(dump.stream(), buffer, _IOFBF, sizeof buffer);
    // Each of these ends the capture early with the dump whole.
    std::signal(SIGINT, on_interrupt);
    std::signal(SIGTERM, on_interrupt);
#ifdef SIGHUP
    std::signal(SIGHUP, on_interrupt);
#endif
    CaptureEvents events;
    events.begun = [] {
        std::printf("capturing\n");
        std::fflush(stdout);
    };
    events.triggered = [](double seconds) {
        std::printf("triggered at %.6f s\n", seconds);
        std::fflush(stdout);
    };
    events.warn = [](const std::string &text) { std::fprintf(stderr, "%s%s\n", kPrefix, text.c_str()); };
    const CaptureOutcome outcome = capture(rig, settings, dump.stream(), events, interrupted);
    if (outcome.samples == 0) {
        dump.abandon();
        return outcome.lost ? report(kRigLost) : 1;
    }
    if (!outcome.triggered) {
        dump.abandon();
        std::fprintf(stderr, "%sthe trigger never held: no dump written\n", kPrefix);
        return 1;
    }
    if (!outcome.written || !dump.commit()) {
        dump.abandon();
        std::fprintf(stderr, "%scannot write '%s'\n", kPrefix, path.c_str());
        return 1;
    }
    std::printf("%lld samples at %.0f samples/s, %lld changes may have been missed\n",
                static_cast<long long>(outcome.samples),
                outcome.seconds > 0 ? static_cast<double>(outcome.samples - 1) / outcome.seconds : 0.0,
                static_cast<long long>(outcome.missed));
    if (outcome.lost)
        return report(kRigLost);  // the dump is whole up to the loss; the lines unknown after it
    return 0;
}

// The link's ports as a peer takes them: its own outputs made outputs and
// the port it samples an input, as the script on the other end does.
Status configure(Rig &rig, int board, PeerPorts ports, bool sending)
{
    const int writer = sending ? kOutput : kInput;
    const int reader = sending ? kInput : kOutput;
    Status status = rig.set_direction(board, ports.data, writer);
    if (status == kNoError)
        status = rig.set_direction(board, ports.sender, writer);
    if (status == kNoError)
        status = rig.set_direction(board, ports.receiver, reader);
    return status;
}

// The most that 'send --file' takes.
constexpr std::size_t kMaxFile = 16u << 20;

// The bytes of a file for 'send': refused if it is a directory, cannot be
// read, or holds more than kMaxFile bytes (a device such as /dev/zero never
// ends).
std::string read_file(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path file = std::filesystem::u8path(path);
    if (std::filesystem::is_directory(file, error))
        throw CLI::ValidationError("--file", "'" + path + "' is a directory");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw CLI::ValidationError("--file", "cannot read '" + path + "'");
    std::string bytes(kMaxFile + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        throw CLI::ValidationError("--file", "cannot read '" + path + "'");
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxFile)
        throw CLI::ValidationError("--file", "'" + path + "' holds more than 16 MiB, the most send takes");
    return bytes;
}

// A file's name as the rig keeps it: its first kRecordingName bytes, and
// never part of a character.
std::string recording_name(const std::string &path)
{
    std::string name = std::filesystem::u8path(path).filename().u8string();
    if (name.size() > static_cast<std::size_t>(kRecordingName)) {
        std::size_t end = kRecordingName;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xc0) == 0x80)
            --end;  // back to the first byte of the character cut
        name.resize(end);
    }
    return name;
}

int run(int argc, char **argv)
{
    CLI::App app{"Inspect and drive the simulated data-acquisition rig.", "simboard"};
    // A path such as /tmp/ramp.txt is a path on every platform, never an option.
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    std::string path = default_rig_path();
    app.add_option("--rig", path, std::string("rig file (default: ") + default_rig_text() + ")");

    std::string first, second, value_text;
    auto port_option = [](CLI::App *command, std::string &into, const char *name) {
        command->add_option(name, into, "port as BOARD.PORT, e.g. 0.10")->required();
    };

    CLI::App *reset = app.add_subcommand(
        "reset", "power-up state: all ports inputs at 0, default wiring and signals, no faults, no latency");
    CLI::App *show = app.add_subcommand(
        "show", "boards, ports, wiring, analog signals and outputs, gain queues, the bench");
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

    // The two ends of the text link.
    int board = 0;
    PeerPorts ports{10, 11, 14};
    double timeout = 10;
    std::string file;
    bool newline = false, hex = false;
    auto link_options = [&](CLI::App *command) {
        command->add_option("BOARD", board, "board of this end")
            ->required()
            ->check(CLI::Range(0, kBoards - 1));
        command->add_option("--data", ports.data, "data port (default 10)")->check(CLI::Range(0, kPorts - 1));
        command->add_option("--sender", ports.sender, "sender bit port (default 11)")
            ->check(CLI::Range(0, kPorts - 1));
        command->add_option("--receiver", ports.receiver, "receiver bit port (default 14)")
            ->check(CLI::Range(0, kPorts - 1));
        command->add_option("--timeout", timeout, "seconds each wait may last, 0 for no limit (default 10)");
    };
    CLI::App *send =
        app.add_subcommand("send", "send a text over the handshake link (sets this end's port directions)");
    link_options(send);
    send->add_option("TEXT", value_text, "the text; \\n \\r \\t \\\\ and \\xHH are escapes");
    send->add_option("--file", file, "send the bytes of this file instead");
    send->add_flag("-n,--newline", newline, "end the text with a line feed");
    CLI::App *signal = app.add_subcommand("signal", "set what drives an analog input");
    signal->add_option("BOARD", board, "board")->required()->check(CLI::Range(0, kBoards - 1));
    int channel = 0;
    signal->add_option("CHANNEL", channel, "input channel 0-" + std::to_string(kAnalogInputs - 1))
        ->required()
        ->check(CLI::Range(0, kAnalogInputs - 1));
    std::string kind_name;
    signal->add_option("KIND", kind_name, signal_usage())->required();
    std::vector<std::string> values;
    signal->add_option("VALUES", values, "the kind's numbers, or a file's path");
    double play_rate = 0;
    bool loop = false;
    signal->add_option("--rate", play_rate,
                       "file: values a second (default: a sound file's own rate, 1000 for a text file)");
    signal->add_flag("--loop", loop, "file: start again after the last value instead of holding it");
    signal->footer(
        std::string("A file holds one number of volts per line") +
        (sound_files_readable() ? ", or is a sound file (first channel, full scale +-10 V)" : "") +
        "; the rig holds " + std::to_string(kRecordings) + " files at once, each of up to " +
        std::to_string(kRecordingValues) + " values." +
        (sound_files_readable() ? "" : " This simboard reads text files only (built without libsndfile)."));

    CLI::App *fault = app.add_subcommand("fault", "make calls of a driver operation fail, in every process");
    std::vector<std::string> fault_words;
    fault
        ->add_option("BOARD OPERATION STATUS", fault_words,
                     "or 'clear [BOARD]'; OPERATION one of " + operation_usage())
        ->required();
    int fault_port = -1, fault_channel = -1;
    long long after = 0, times = -1;
    CLI::Option *port_limit =
        fault->add_option("--port", fault_port, "only calls on this port")->check(CLI::Range(0, kPorts - 1));
    CLI::Option *channel_limit = fault->add_option("--channel", fault_channel, "only calls on this channel")
                                     ->check(CLI::Range(0, kAnalogInputs - 1));
    port_limit->excludes(channel_limit);
    CLI::Option *after_option =
        fault->add_option("--after", after, "let this many matching calls pass first (default 0)")
            ->check(CLI::Range(0LL, LLONG_MAX));
    CLI::Option *times_option =
        fault->add_option("--times", times, "strike this many times, then disarm (default: until cleared)")
            ->check(CLI::Range(1LL, LLONG_MAX));
    fault->footer("At most " + std::to_string(kFaults) +
                  " faults at once; where several match a call, the first armed strikes.");

    CLI::App *latency =
        app.add_subcommand("latency", "make every driver operation on a board take this long");
    latency->add_option("BOARD", board, "board")->required()->check(CLI::Range(0, kBoards - 1));
    std::string latency_text;
    latency->add_option("SECONDS", latency_text, "0 to 1, microsecond resolution; 0 turns it off")
        ->required();

    CLI::App *capture_command =
        app.add_subcommand("capture", "sample ports and write their changes as a Value Change Dump");
    CaptureRequest capture_request;
    capture_command->add_option("PORTS", capture_request.ports, "BOARD.PORT[,BOARD.PORT...]")->required();
    capture_command
        ->add_option("--seconds", capture_request.seconds, "how long to sample (from the trigger, with one)")
        ->required();
    capture_command->add_option("--out", capture_request.out, "the VCD file to write")->required();
    capture_command->add_option("--rate", capture_request.rate,
                                "samples a second (default: as fast as it can)");
    capture_command->add_flag("--bits", capture_request.bits,
                              "each port as 16 one-bit wires bB_pP.N (for sigrok and PulseView)");
    capture_command->add_option("--trigger", capture_request.trigger,
                                "start the dump when B.P=VALUE holds, or at B.P:rise, B.P:fall, B.P:change");
    capture_command->add_option("--pre", capture_request.pre,
                                "seconds before the trigger to keep (default 0)");
    capture_command->add_option("--wait", capture_request.wait,
                                "the longest wait for the trigger (default: until stopped)");

    CLI::App *receive =
        app.add_subcommand("receive", "receive one line over the handshake link and print it");
    link_options(receive);
    receive->add_flag("--hex", hex, "print the bytes in hexadecimal");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &error) {
        // --help exits 0; every malformed command line exits 2, with one
        // line under the tool's prefix.
        if (error.get_exit_code() == 0)
            return app.exit(error);
        std::fprintf(stderr, "%s%s\n", kPrefix, error.what());
        return 2;
    }

    Rig rig;
    // reset renews a rig file of another layout instead of refusing it.
    if (const Status status = rig.open(path, reset->parsed()); status != kNoError)
        return report(status);

    try {
        if (reset->parsed()) {
            rig.reset();
        } else if (show->parsed()) {
            show_rig(rig);
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
        } else if (send->parsed()) {
            std::string text = unescape(value_text);
            if (!file.empty())
                text = read_file(file);
            if (newline)
                text += '\n';
            text = text.substr(0, text.find('\0'));  // the link never carries a zero byte
            if (const Status status = configure(rig, board, ports, true); status != kNoError)
                return report(status);
            return report(peer_send(rig, board, ports, text, timeout));
        } else if (signal->parsed()) {
            const SignalKindInfo *info = signal_kind_named(kind_name.c_str());
            if (info == nullptr)
                throw CLI::ValidationError("KIND", "'" + kind_name + "' is not a signal kind");
            if (!info->recorded) {
                if (signal->count("--rate") > 0 || loop)
                    throw CLI::ValidationError("--rate", "--rate and --loop go with a file only");
                return report(rig.set_signal(board, channel, parse_signal(info, values)));
            }
            if (values.size() != 1)
                throw CLI::ValidationError("PATH", "'" + kind_name + "' takes one file");
            if (signal->count("--rate") > 0 && !(play_rate > 0 && std::isfinite(play_rate)))
                throw CLI::ValidationError("--rate", "the rate must be a positive number of values a second");
            Recording recording;
            try {
                recording = read_recording(values[0], kRecordingValues);
            } catch (const std::runtime_error &error) {
                throw CLI::ValidationError("PATH", error.what());
            }
            const double rate = signal->count("--rate") > 0 ? play_rate
                                : recording.rate > 0        ? recording.rate
                                                            : 1000.0;
            return report(rig.play(board, channel, recording.volts.data(),
                                   static_cast<int>(recording.volts.size()), rate, loop,
                                   recording_name(values[0])));
        } else if (fault->parsed()) {
            if (!fault_words.empty() && fault_words[0] == "clear") {
                if (fault_words.size() > 2 || *port_limit || *channel_limit || *after_option || *times_option)
                    throw CLI::ValidationError("fault", "clear takes a board at most, and no option");
                const int which =
                    fault_words.size() == 2
                        ? static_cast<int>(parse_integer(fault_words[1], "BOARD", 0, kBoards - 1))
                        : -1;
                if (rig.clear_faults(which) < 0)
                    return report(kRigLocked);
            } else {
                return report(
                    rig.arm_fault(parse_fault(fault_words, fault_port, fault_channel, after, times)));
            }
        } else if (latency->parsed()) {
            const double seconds = parse_number(latency_text, "SECONDS");
            if (!(seconds >= 0 && seconds <= 1))
                throw CLI::ValidationError("SECONDS", "'" + latency_text + "' is not 0 to 1 seconds");
            auto micros = static_cast<uint32_t>(std::llround(seconds * 1e6));
            if (micros == 0 && seconds > 0)
                micros = 1;  // at least what was asked
            return report(rig.set_latency(board, micros));
        } else if (capture_command->parsed()) {
            return run_capture(rig, capture_request);
        } else if (receive->parsed()) {
            if (const Status status = configure(rig, board, ports, false); status != kNoError)
                return report(status);
            std::string line;
            const PeerOutcome outcome = peer_receive(rig, board, ports, timeout, &line);
            if (outcome.result != PeerResult::done)
                return report(outcome);
            if (hex) {
                for (std::size_t i = 0; i < line.size(); ++i)
                    std::printf("%s%02x", i ? " " : "", static_cast<unsigned char>(line[i]));
                std::printf("\n");
            } else {
                std::fwrite(line.data(), 1, line.size(), stdout);
                std::fputc('\n', stdout);
            }
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
    // Whatever the command saw of a rig that went away under it is void.
    return rig.lost() ? report(kRigLost) : 0;
}

int start(int argc, char **argv)
{
    utf8_console();
    try {
        return run(argc, argv);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s%s\n", kPrefix, error.what());
    } catch (...) {
        std::fprintf(stderr, "%sfailed for a reason it cannot name\n", kPrefix);
    }
    return 1;
}

}  // namespace

#if defined(_WIN32)
// Windows holds the command line in UTF-16; the narrow arguments have only
// what the ANSI code page can say (a folder named in Cyrillic or CJK comes
// as question marks).  From here on they are UTF-8.
extern "C" int wmain(int argc, wchar_t **wide)
{
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(utf8(wide[i]));
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return start(argc, argv.data());
}
#else
int main(int argc, char **argv)
{
    return start(argc, argv);
}
#endif
