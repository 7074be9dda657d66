// simboard - inspect and drive the simulated rig from the command line.
//
// Works on the same rig file as the simulated driver ($DAQGATE_RIG, or the
// per-user default), so it sees and changes what running scripts see.
//
// Each command is a row of kCommands: its name, its line of help, and the
// function that gives it its options and its work.  The work reads the
// command's own words and refuses what it cannot take by throwing
// CLI::ValidationError; every refusal and every failure is one line under
// kPrefix, and a rig that cannot be used adds a line that names its file
// and the system's reason.
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "arguments.h"
#include "capture.h"
#include "capture_options.h"
#include "console.h"
#include "decoders.h"
#include "dumpfile.h"
#include "peer.h"
#include "recording.h"
#include "rig.h"
#include "show.h"
#include "views.h"

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

// A status of the rig, with what the rig tells of it in words (the file,
// and the system's reason) on a line of its own.
int report(Status status, const Rig &rig)
{
    const int exit = report(status);
    if (status != kNoError && !rig.problem().empty())
        std::fprintf(stderr, "%s%s\n", kPrefix, rig.problem().c_str());
    return exit;
}

// Whatever a command saw of a rig that went away under it is void.
int settled(const Rig &rig)
{
    return rig.lost() ? report(kRigLost) : 0;
}

// What every command shares: the rig file --rig names, opened as the
// command starts, and the exit status the command leaves.
class Session {
public:
    explicit Session(CLI::App &app)
    {
        named_ =
            app.add_option("--rig", path_, std::string("rig file (default: ") + default_rig_text() + ")");
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Makes work the command's: once the whole command line is read, it
    // runs on the rig (with recreate, a file of another layout made anew,
    // as Rig::open does) and gives the exit status.
    void runs(CLI::App &command, std::function<int(Rig &)> work, bool recreate = false)
    {
        command.callback([this, work = std::move(work), recreate] {
            // The default is held to what a personal rig must be; a file
            // named here is the user's choice.
            const RigAccess access = named_->count() > 0 ? RigAccess::named : place_.access;
            const Status status = rig_.open(path_, recreate, access);
            status_ = status == kNoError ? work(rig_) : report(status, rig_);
            // A change made on a rig lost meanwhile (its pages gone from
            // under it) did not land in the file.
            if (status == kNoError && status_ == 0 && rig_.lost())
                status_ = report(kRigLost);
        });
    }

    int status() const { return status_; }

private:
    const RigPlace place_ = default_rig();
    std::string path_ = place_.path;
    const CLI::Option *named_ = nullptr;
    Rig rig_;
    int status_ = 0;
};

// 'reset' renews a rig file of another layout instead of refusing it; a
// file that holds no rig it refuses all the same, and writes nothing.
void define_reset(CLI::App &command, Session &session)
{
    session.runs(
        command,
        [](Rig &rig) {
            rig.reset();
            return settled(rig);
        },
        true);
}

void define_show(CLI::App &command, Session &session)
{
    session.runs(command, [](Rig &rig) {
        show_rig(rig);
        return settled(rig);
    });
}

void add_port(CLI::App &command, std::string &into, const char *name)
{
    command.add_option(name, into, "port as BOARD.PORT, e.g. 0.10")->required();
}

// 'wire A B' and 'unwire A B': join is what the rig does with the two.
void define_ends(CLI::App &command, Session &session, Status (Rig::*join)(PortId, PortId))
{
    auto ends = std::make_shared<std::pair<std::string, std::string>>();
    add_port(command, ends->first, "A");
    add_port(command, ends->second, "B");
    session.runs(command, [ends, join](Rig &rig) {
        return report((rig.*join)(parse_port(ends->first), parse_port(ends->second)));
    });
}

void define_wire(CLI::App &command, Session &session)
{
    define_ends(command, session, &Rig::wire);
}

void define_unwire(CLI::App &command, Session &session)
{
    define_ends(command, session, &Rig::unwire);
}

void define_direction(CLI::App &command, Session &session)
{
    struct Words {
        std::string port, direction;
    };
    auto words = std::make_shared<Words>();
    add_port(command, words->port, "PORT");
    command.add_option("DIRECTION", words->direction, "in or out")
        ->required()
        ->check(CLI::IsMember({"in", "out"}));
    session.runs(command, [words](Rig &rig) {
        const PortId id = parse_port(words->port);
        return report(rig.set_direction(id.board, id.port, words->direction == "out" ? kOutput : kInput));
    });
}

void define_write(CLI::App &command, Session &session)
{
    struct Words {
        std::string port;
        int value = 0;
    };
    auto words = std::make_shared<Words>();
    add_port(command, words->port, "PORT");
    command.add_option("VALUE", words->value, "0 to 65535")->required()->check(CLI::Range(0, 65535));
    session.runs(command, [words](Rig &rig) {
        const PortId id = parse_port(words->port);
        return report(rig.write_port(id.board, id.port, static_cast<uint16_t>(words->value)));
    });
}

void define_read(CLI::App &command, Session &session)
{
    auto port = std::make_shared<std::string>();
    add_port(command, *port, "PORT");
    session.runs(command, [port](Rig &rig) {
        const PortId id = parse_port(*port);
        uint16_t word = 0;
        const Status status = rig.read_port(id.board, id.port, &word);
        if (status == kNoError)
            std::printf("%u\n", word);
        return report(status);
    });
}

// One end of the handshake text link, for send and receive.
struct LinkEnd {
    int board = 0;
    PeerPorts ports{10, 11, 14};
    double timeout = 10;
};

void add_link_options(CLI::App &command, LinkEnd &end)
{
    command.add_option("BOARD", end.board, "board of this end")
        ->required()
        ->check(CLI::Range(0, kBoards - 1));
    command.add_option("--data", end.ports.data, "data port (default 10)")->check(CLI::Range(0, kPorts - 1));
    command.add_option("--sender", end.ports.sender, "sender bit port (default 11)")
        ->check(CLI::Range(0, kPorts - 1));
    command.add_option("--receiver", end.ports.receiver, "receiver bit port (default 14)")
        ->check(CLI::Range(0, kPorts - 1));
    command.add_option("--timeout", end.timeout, "seconds each wait may last, 0 for no limit (default 10)");
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
constexpr std::size_t kMaxFileMiB = 16;
constexpr std::size_t kMaxFile = kMaxFileMiB << 20;

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
        throw CLI::ValidationError("--file", "'" + path + "' holds more than " + std::to_string(kMaxFileMiB) +
                                              " MiB, the most send takes");
    return bytes;
}

struct SendWords {
    LinkEnd end;
    std::string text, file;
    bool newline = false;
};

// The bytes 'send' puts on the link, as its words say.
std::string send_text(const SendWords &words)
{
    std::string text = unescape(words.text);
    if (!words.file.empty())
        text = read_file(words.file);
    if (words.newline)
        text += '\n';
    return text.substr(0, text.find('\0'));  // the link never carries a zero byte
}

void define_send(CLI::App &command, Session &session)
{
    auto words = std::make_shared<SendWords>();
    add_link_options(command, words->end);
    command.add_option("TEXT", words->text, "the text; \\n \\r \\t \\\\ and \\xHH are escapes");
    command.add_option("--file", words->file, "send the bytes of this file instead");
    command.add_flag("-n,--newline", words->newline, "end the text with a line feed");
    session.runs(command, [words](Rig &rig) {
        const std::string text = send_text(*words);
        const LinkEnd &end = words->end;
        if (const Status status = configure(rig, end.board, end.ports, true); status != kNoError)
            return report(status);
        return report(peer_send(rig, end.board, end.ports, text, end.timeout));
    });
}

void print_line(const std::string &line, bool hex)
{
    if (hex) {
        for (std::size_t i = 0; i < line.size(); ++i)
            std::printf("%s%02x", i ? " " : "", static_cast<unsigned char>(line[i]));
        std::printf("\n");
    } else {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
}

void define_receive(CLI::App &command, Session &session)
{
    struct Words {
        LinkEnd end;
        bool hex = false;
    };
    auto words = std::make_shared<Words>();
    add_link_options(command, words->end);
    command.add_flag("--hex", words->hex, "print the bytes in hexadecimal");
    session.runs(command, [words](Rig &rig) {
        const LinkEnd &end = words->end;
        if (const Status status = configure(rig, end.board, end.ports, false); status != kNoError)
            return report(status);
        std::string line;
        const PeerOutcome outcome = peer_receive(rig, end.board, end.ports, end.timeout, &line);
        if (outcome.result != PeerResult::done)
            return report(outcome);
        print_line(line, words->hex);
        return settled(rig);
    });
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

struct SignalWords {
    int board = 0, channel = 0;
    std::string kind;
    std::vector<std::string> values;
    double rate = 0;
    bool loop = false;
    const CLI::Option *rate_option = nullptr;  // whether --rate was given
};

// 'signal B C file PATH': the file's volts played on the input.
int play_file(Rig &rig, const SignalWords &words)
{
    if (words.values.size() != 1)
        throw CLI::ValidationError("PATH", "'" + words.kind + "' takes one file");
    const bool rate_given = words.rate_option->count() > 0;
    if (rate_given && !(words.rate > 0 && std::isfinite(words.rate)))
        throw CLI::ValidationError("--rate", "the rate must be a positive number of values a second");
    Recording recording;
    try {
        recording = read_recording(words.values[0], kRecordingValues);
    } catch (const std::runtime_error &error) {
        throw CLI::ValidationError("PATH", error.what());
    }
    const double rate = rate_given ? words.rate : recording.rate > 0 ? recording.rate : 1000.0;
    const Status status =
        rig.play(words.board, words.channel, recording.volts.data(), static_cast<int>(recording.volts.size()),
                 rate, words.loop, recording_name(words.values[0]));
    // Values written where the file had no pages would have gone nowhere.
    return status == kNoError ? settled(rig) : report(status, rig);
}

int set_signal(Rig &rig, const SignalWords &words)
{
    const SignalKindInfo *info = signal_kind_named(words.kind.c_str());
    if (info == nullptr)
        throw CLI::ValidationError("KIND", "'" + words.kind + "' is not a signal kind");
    if (info->recorded)
        return play_file(rig, words);
    if (words.rate_option->count() > 0 || words.loop)
        throw CLI::ValidationError("--rate", "--rate and --loop go with a file only");
    return report(rig.set_signal(words.board, words.channel, parse_signal(info, words.values)));
}

std::string signal_footer()
{
    return std::string("A file holds one number of volts per line") +
           (sound_files_readable() ? ", or is a sound file (first channel, full scale +-10 V)" : "") +
           "; the rig holds " + std::to_string(kRecordings) + " files at once, each of up to " +
           std::to_string(kRecordingValues) + " values." +
           (sound_files_readable() ? "" : " This simboard reads text files only (built without libsndfile).");
}

void define_signal(CLI::App &command, Session &session)
{
    auto words = std::make_shared<SignalWords>();
    command.add_option("BOARD", words->board, "board")->required()->check(CLI::Range(0, kBoards - 1));
    command.add_option("CHANNEL", words->channel, "input channel 0-" + std::to_string(kAnalogInputs - 1))
        ->required()
        ->check(CLI::Range(0, kAnalogInputs - 1));
    command.add_option("KIND", words->kind, signal_usage())->required();
    command.add_option("VALUES", words->values, "the kind's numbers, or a file's path");
    words->rate_option =
        command.add_option("--rate", words->rate,
                           "file: values a second (default: a sound file's own rate, 1000 for a text file)");
    command.add_flag("--loop", words->loop, "file: start again after the last value instead of holding it");
    command.footer(signal_footer());
    session.runs(command, [words](Rig &rig) { return set_signal(rig, *words); });
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

struct FaultWords {
    std::vector<std::string> words;  // BOARD OPERATION STATUS, or clear [BOARD]
    int port = -1, channel = -1;
    long long after = 0, times = -1;
    std::vector<const CLI::Option *> options;  // --port, --channel, --after, --times
};

// 'fault B OPERATION STATUS' and its options, as the rig holds it.
FaultSpec parse_fault(const FaultWords &fault)
{
    const std::vector<std::string> &words = fault.words;
    const int port = fault.port, channel = fault.channel;
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
    spec.after = fault.after;
    spec.times = fault.times;
    return spec;
}

// 'fault clear [BOARD]'.
int clear_faults(Rig &rig, const FaultWords &fault)
{
    const bool limited = std::any_of(fault.options.begin(), fault.options.end(),
                                     [](const CLI::Option *option) { return option->count() > 0; });
    if (fault.words.size() > 2 || limited)
        throw CLI::ValidationError("fault", "clear takes a board at most, and no option");
    const int which = fault.words.size() == 2
                          ? static_cast<int>(parse_integer(fault.words[1], "BOARD", 0, kBoards - 1))
                          : -1;
    if (rig.clear_faults(which) < 0)
        return report(kRigLocked);
    return settled(rig);
}

void define_fault(CLI::App &command, Session &session)
{
    auto fault = std::make_shared<FaultWords>();
    command
        .add_option("BOARD OPERATION STATUS", fault->words,
                    "or 'clear [BOARD]'; OPERATION one of " + operation_usage())
        ->required();
    CLI::Option *port = command.add_option("--port", fault->port, "only calls on this port")
                            ->check(CLI::Range(0, kPorts - 1));
    CLI::Option *channel = command.add_option("--channel", fault->channel, "only calls on this channel")
                               ->check(CLI::Range(0, kAnalogInputs - 1));
    port->excludes(channel);
    CLI::Option *after =
        command.add_option("--after", fault->after, "let this many matching calls pass first (default 0)")
            ->check(CLI::Range(0LL, LLONG_MAX));
    CLI::Option *times = command
                             .add_option("--times", fault->times,
                                         "strike this many times, then disarm (default: until cleared)")
                             ->check(CLI::Range(1LL, LLONG_MAX));
    fault->options = {port, channel, after, times};
    command.footer("At most " + std::to_string(kFaults) +
                   " faults at once; where several match a call, the first armed strikes.");
    session.runs(command, [fault](Rig &rig) {
        if (!fault->words.empty() && fault->words[0] == "clear")
            return clear_faults(rig, *fault);
        return report(rig.arm_fault(parse_fault(*fault)));
    });
}

// A latency in whole microseconds, never less than was asked.
uint32_t parse_latency(const std::string &text)
{
    const double seconds = parse_number(text, "SECONDS");
    if (!(seconds >= 0 && seconds <= 1))
        throw CLI::ValidationError("SECONDS", "'" + text + "' is not 0 to 1 seconds");
    auto micros = static_cast<uint32_t>(std::llround(seconds * 1e6));
    if (micros == 0 && seconds > 0)
        micros = 1;  // at least what was asked
    return micros;
}

void define_latency(CLI::App &command, Session &session)
{
    struct Words {
        int board = 0;
        std::string seconds;
    };
    auto words = std::make_shared<Words>();
    command.add_option("BOARD", words->board, "board")->required()->check(CLI::Range(0, kBoards - 1));
    command.add_option("SECONDS", words->seconds, "0 to 1, microsecond resolution; 0 turns it off")
        ->required();
    session.runs(command, [words](Rig &rig) {
        return report(rig.set_latency(words->board, parse_latency(words->seconds)));
    });
}

std::atomic<bool> interrupted{false};

extern "C" void on_interrupt(int)
{
    interrupted.store(true);
}

// What a capture tells as it goes: on stdout, and its warnings under the
// prefix.
CaptureEvents capture_events()
{
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
    return events;
}

// The dump put in place, or abandoned, as the capture's outcome says.
int finish_capture(DumpFile &dump, const CaptureOutcome &outcome, const std::string &path)
{
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

// OUT.vcd's view files: OUT.pvs, OUT.gtkw.
std::string beside(const std::string &path, const char *extension)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    const bool has = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (has ? path.substr(0, dot) : path) + extension;
}

// A view written beside the dump and put in place whole, as the dump is.
bool write_view(const std::string &path, const std::string &text)
{
    DumpFile file;
    if (file.open(path) != DumpFile::Opened::ready) {
        std::fprintf(stderr, "%scannot write '%s'\n", kPrefix, path.c_str());
        return false;
    }
    if (std::fwrite(text.data(), 1, text.size(), file.stream()) != text.size() || !file.commit()) {
        std::fprintf(stderr, "%scannot write '%s'\n", kPrefix, path.c_str());
        return false;
    }
    return true;
}

// The views of a dump put in place: a PulseView session for the bits
// form (sigrok reads one-bit wires only), a GTKWave save file for both.
bool write_views(const CaptureRequest &request, const CaptureSettings &settings, const CaptureOutcome &outcome)
{
    ViewInput input;
    const std::size_t slash = request.out.find_last_of("/\\");
    input.dump = slash == std::string::npos ? request.out : request.out.substr(slash + 1);
    input.ports = settings.ports;
    input.form = settings.form;
    input.bits = settings.bits;
    input.link = settings.link;
    input.summary = outcome.summary;
    bool ok = true;
    if (settings.form == DumpForm::bits)
        ok = write_view(beside(request.out, ".pvs"), pulseview_session(input)) && ok;
    ok = write_view(beside(request.out, ".gtkw"), gtkwave_save(input)) && ok;
    return ok;
}

// 'capture': the ports sampled into a dump written beside --out and put
// in its place when whole, however the capture ends (its time, Ctrl-C,
// SIGTERM, SIGHUP); a capture killed outright leaves the old --out alone.
int run_capture(Rig &rig, const CaptureRequest &request)
{
    const CaptureSettings settings = capture_settings(request);
    const std::string &path = request.out;
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
    // The bits form without a rate keeps its changes beside the dump until
    // it has them all: on the disk the dump goes to, not in memory.
    CaptureSettings spooled = settings;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> spool(nullptr, std::fclose);
    if (settings.form == DumpForm::bits && settings.rate <= 0) {
        spool.reset(dump.scratch());
        if (!spool) {
            std::fprintf(stderr, "%scannot write beside '%s'\n", kPrefix, path.c_str());
            return 1;
        }
        spooled.spool = spool.get();
    }
    const CaptureOutcome outcome = capture(rig, spooled, dump.stream(), capture_events(), interrupted);
    const int status = finish_capture(dump, outcome, path);
    const bool written = outcome.samples > 0 && outcome.triggered && outcome.written;
    if (written && !request.no_views && !write_views(request, settings, outcome))
        return 1;
    return status;
}

void define_capture(CLI::App &command, Session &session)
{
    auto request = std::make_shared<CaptureRequest>();
    add_capture_options(command, *request);
    session.runs(command, [request](Rig &rig) { return run_capture(rig, *request); });
}

// 'decoder install': the link's decoder put where libsigrokdecode finds a
// user's decoders (PulseView then needs no SIGROKDECODE_DIR).  It needs
// no rig.
void define_decoder(CLI::App &command, Session &)
{
    command.require_subcommand(1);
    CLI::App *install = command.add_subcommand(
        "install", "put the decoder daqgate_link in the folder of your decoders, over an older copy of it only");
    auto folder = std::make_shared<std::string>();
    install->add_option("--dir", *folder, "the decoders' folder (default: " +
                                              (user_decoders_folder().empty() ? std::string("none: no home folder")
                                                                              : user_decoders_folder()) +
                                              ")");
    install->callback([folder] {
        const std::string where = folder->empty() ? user_decoders_folder() : *folder;
        if (where.empty())
            throw std::runtime_error("no folder for the decoder: name one with --dir");
        const std::string refused = install_decoder(where);
        if (!refused.empty())
            throw std::runtime_error(refused);
    });
}

// The commands; 'simboard --help' lists them in this order, the order in
// which they came to the tool rather than a grouping (receive stands after
// capture, apart from send), kept so that the help stays as users know it.
struct Command {
    const char *name;
    const char *help;
    void (*define)(CLI::App &command, Session &session);
};

const Command kCommands[] = {
    {"reset",
     "power-up state: all ports inputs at 0, default wiring and signals, no faults, no latency; makes a "
     "missing or empty rig file, renews a rig of another layout, never writes over a file that is no rig",
     define_reset},
    {"show", "boards, ports, wiring, analog signals and outputs, gain queues, the bench", define_show},
    {"wire", "join two unwired ports", define_wire},
    {"unwire", "separate two ports wired to each other", define_unwire},
    {"direction", "set a port's direction", define_direction},
    {"write", "write a value to an output port", define_write},
    {"read", "print a port's value", define_read},
    {"send", "send a text over the handshake link (sets this end's port directions)", define_send},
    {"signal", "set what drives an analog input", define_signal},
    {"fault", "make calls of a driver operation fail, in every process", define_fault},
    {"latency", "make every driver operation on a board take this long", define_latency},
    {"capture", "sample ports and write their changes as a Value Change Dump", define_capture},
    {"receive", "receive one line over the handshake link and print it", define_receive},
    {"decoder", "install the text link's decoder for sigrok-cli and PulseView", define_decoder},
};

int run(int argc, char **argv)
{
    CLI::App app{"Inspect and drive the simulated data-acquisition rig.", "simboard"};
    // A path such as /tmp/ramp.txt is a path on every platform, never an option.
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    Session session(app);
    for (const Command &command : kCommands)
        command.define(*app.add_subcommand(command.name, command.help), session);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &error) {
        // --help exits 0; every malformed command line, and every word a
        // command refuses, exits 2, with one line under the tool's prefix.
        if (error.get_exit_code() == 0)
            return app.exit(error);
        std::fprintf(stderr, "%s%s\n", kPrefix, error.what());
        return 2;
    }
    return session.status();
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
