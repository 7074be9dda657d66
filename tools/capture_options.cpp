// capture_options.cpp - 'simboard capture' read from its words: one
// function for each group of options, in the order they are checked.
#include "capture_options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "arguments.h"
#include "views.h"

namespace daqgate::tools {

using sim::PortId;

namespace {

std::string port_text(const PortId &id)
{
    return std::to_string(id.board) + "." + std::to_string(id.port);
}

// The index of a port among the captured ones (each there once);
// ports.size() if it is not there.
std::size_t among(const std::vector<PortId> &ports, const PortId &id)
{
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (ports[i].index() == id.index())
            return i;
    return ports.size();
}

// --rate: samples a second, 1 to 1e9; 0 (as fast as it can) when not given.
double parse_rate(const std::string &text)
{
    if (text.empty())
        return 0;
    const double rate = parse_number(text, "--rate");
    if (!(rate >= 1 && rate <= 1e9))
        throw CLI::ValidationError("--rate", "'" + text + "' is not 1 to 1e9 samples a second");
    return rate;
}

// --bits: the form of the dump, and the wires of each port it writes.
void parse_form(const std::string &bits, CaptureSettings *settings)
{
    settings->form = bits.empty() ? DumpForm::vectors : DumpForm::bits;
    if (!bits.empty() && bits != "*")
        settings->bits = parse_bit_lists(bits, settings->ports);
}

// --link DATA,SENDER,RECEIVER, or the link found among the captured ports.
LinkWires parse_link(const std::string &text, const CaptureSettings &settings)
{
    if (text.empty())
        return find_link(settings.ports, settings.form, settings.bits);
    const std::vector<PortId> named = parse_ports(text);
    if (named.size() != 3)
        throw CLI::ValidationError("--link", "'" + text + "' is not DATA,SENDER,RECEIVER ports");
    LinkWires link;
    std::size_t *at[3] = {&link.data, &link.sender, &link.receiver};
    for (std::size_t k = 0; k < 3; ++k) {
        *at[k] = among(settings.ports, named[k]);
        if (*at[k] == settings.ports.size())
            throw CLI::ValidationError("--link", "port " + port_text(named[k]) + " is not among the captured ports");
    }
    link.present = true;
    if (!carries_link(link, settings.form, settings.bits))
        throw CLI::ValidationError("--link", "the decoder reads bits 0-7 of the data port and bit 0 of "
                                             "each flag port: --bits leaves some out");
    return link;
}

// The VALUE of B.P=VALUE: 0 to 65535, decimal, hexadecimal or octal.
uint16_t parse_trigger_value(const std::string &condition)
{
    const char *begin = condition.c_str();
    char *end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(begin, &end, 0);
    if (condition.empty() || !std::isdigit(static_cast<unsigned char>(condition[0])) || *end != '\0' ||
        errno == ERANGE || value > 65535)
        throw CLI::ValidationError("--trigger", "'" + condition + "' is not a value 0 to 65535");
    return static_cast<uint16_t>(value);
}

// --trigger, and --pre and --wait, which go with it only.
void parse_trigger_options(const CaptureRequest &request, CaptureSettings *settings)
{
    if (!request.trigger.empty())
        settings->trigger = parse_trigger(request.trigger, settings->ports);
    if (request.trigger.empty() && (!request.pre.empty() || !request.wait.empty()))
        throw CLI::ValidationError("--pre", "--pre and --wait go with --trigger only");
    if (!request.pre.empty())
        settings->pre = parse_seconds(request.pre, "--pre", true);
    if (!request.wait.empty())
        settings->wait = parse_seconds(request.wait, "--wait", false);
}

}  // namespace

void add_capture_options(CLI::App &command, CaptureRequest &request)
{
    command.add_option("PORTS", request.ports, "BOARD.PORT[,BOARD.PORT...]")->required();
    command.add_option("--seconds", request.seconds, "how long to sample (from the trigger, with one)")
        ->required();
    command.add_option("--out", request.out, "the VCD file to write")->required();
    command.add_option("--rate", request.rate, "samples a second (default: as fast as it can)");
    command.add_flag("--bits{*}", request.bits,
                     "each port as one-bit wires bB_pP.N (for sigrok and PulseView): all 16, or as "
                     "--bits=B.P:BITS,... e.g. --bits=0.10:0-7,0.11:0,0.14:0");
    command.add_option("--link", request.link,
                       "DATA,SENDER,RECEIVER: the captured ports of a link end, for the views "
                       "(default: found among the link's port assignments)");
    command.add_flag("--no-views", request.no_views,
                     "write no PulseView session OUT.pvs and GTKWave save file OUT.gtkw beside the dump");
    command.add_option("--trigger", request.trigger,
                       "start the dump when B.P=VALUE holds, or at B.P:rise, B.P:fall, B.P:change");
    command.add_option("--pre", request.pre, "seconds before the trigger to keep (default 0)");
    command.add_option("--wait", request.wait, "the longest wait for the trigger (default: until stopped)");
}

Trigger parse_trigger(const std::string &text, const std::vector<PortId> &ports)
{
    const std::size_t mark = text.find_first_of("=:");
    if (mark == std::string::npos)
        throw CLI::ValidationError("--trigger",
                                   "'" + text + "' is not B.P=VALUE, B.P:rise, B.P:fall or B.P:change");
    const PortId id = parse_port(text.substr(0, mark));
    Trigger trigger;
    trigger.port = among(ports, id);
    if (trigger.port == ports.size())
        throw CLI::ValidationError("--trigger", "port " + port_text(id) + " is not among the captured ports");
    const std::string condition = text.substr(mark + 1);
    if (text[mark] == '=') {
        trigger.kind = Trigger::Kind::equals;
        trigger.value = parse_trigger_value(condition);
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

CaptureSettings capture_settings(const CaptureRequest &request)
{
    CaptureSettings settings;
    settings.ports = parse_ports(request.ports);
    settings.seconds = parse_seconds(request.seconds, "--seconds", false);
    settings.rate = parse_rate(request.rate);
    parse_form(request.bits, &settings);
    settings.link = parse_link(request.link, settings);
    parse_trigger_options(request, &settings);
    std::error_code error;
    if (std::filesystem::is_directory(request.out, error))
        throw CLI::ValidationError("--out", "'" + request.out + "' is a directory");
    return settings;
}

}  // namespace daqgate::tools
