// views.cpp - the PulseView session and the GTKWave save file of a dump.
#include "views.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "arguments.h"

namespace daqgate::tools {

using sim::PortId;

const LinkPorts kLinkAssignments[3] = {{10, 11, 14}, {15, 16, 12}, {14, 15, 10}};

namespace {

constexpr uint16_t kDataBits = 0x00ff;
constexpr uint16_t kFlagBit = 0x0001;

// The width of the waves, in pixels: PulseView's at its first size, and
// GTKWave's at the size the save file sets.  The window fills about this.
constexpr int kPulseViewPixels = 850;
constexpr int kGtkWavePixels = 1000;

std::string port_name(const PortId &port)
{
    return "b" + std::to_string(port.board) + "_p" + std::to_string(port.port);
}

std::string wire_name(const PortId &port, int bit)
{
    return port_name(port) + "." + std::to_string(bit);
}

bool holds(uint16_t mask, uint16_t wanted)
{
    return (mask & wanted) == wanted;
}

// The wires each view shows: the link's, or those that changed (every
// wire when none did).
std::vector<uint16_t> shown_wires(const ViewInput &input)
{
    const std::size_t n = input.ports.size();
    std::vector<uint16_t> shown(n, 0);
    if (input.link.present) {
        shown[input.link.data] |= kDataBits;
        shown[input.link.sender] |= kFlagBit;
        shown[input.link.receiver] |= kFlagBit;
        return shown;
    }
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
        const uint16_t mask = input.form == DumpForm::bits ? bit_mask(input.bits, i) : kAllBits;
        shown[i] = i < input.summary.changed.size() ? static_cast<uint16_t>(input.summary.changed[i] & mask) : 0;
        any = any || shown[i] != 0;
    }
    if (!any)
        for (std::size_t i = 0; i < n; ++i)
            shown[i] = input.form == DumpForm::bits ? bit_mask(input.bits, i) : kAllBits;
    return shown;
}

double tick_seconds(int exponent)
{
    return std::pow(10.0, exponent);
}

}  // namespace

bool carries_link(const LinkWires &link, DumpForm form, const BitMasks &bits)
{
    if (!link.present)
        return false;
    if (form == DumpForm::vectors)
        return true;
    return holds(bit_mask(bits, link.data), kDataBits) && holds(bit_mask(bits, link.sender), kFlagBit) &&
           holds(bit_mask(bits, link.receiver), kFlagBit);
}

LinkWires find_link(const std::vector<PortId> &ports, DumpForm form, const BitMasks &bits)
{
    auto find = [&](int board, int port, std::size_t *at) {
        for (std::size_t i = 0; i < ports.size(); ++i)
            if (ports[i].board == board && ports[i].port == port) {
                *at = i;
                return true;
            }
        return false;
    };
    for (const PortId &first : ports)
        for (const LinkPorts &assignment : kLinkAssignments) {
            LinkWires link;
            if (find(first.board, assignment.data, &link.data) &&
                find(first.board, assignment.sender, &link.sender) &&
                find(first.board, assignment.receiver, &link.receiver)) {
                link.present = true;
                if (carries_link(link, form, bits))
                    return link;
            }
        }
    return LinkWires{};
}

BitMasks parse_bit_lists(const std::string &text, const std::vector<PortId> &ports)
{
    BitMasks masks(ports.size(), kAllBits);
    std::vector<bool> named(ports.size(), false);
    const std::string form = "is not B.P:BITS (BITS as N, N-M, joined by +), e.g. 0.10:0-7,0.11:0";
    std::size_t from = 0;
    do {
        const std::size_t comma = text.find(',', from);
        const std::string item =
            text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        from = comma == std::string::npos ? std::string::npos : comma + 1;
        const std::size_t colon = item.find(':');
        if (colon == std::string::npos)
            throw CLI::ValidationError("--bits", "'" + item + "' " + form);
        const PortId id = parse_port(item.substr(0, colon));
        std::size_t at = ports.size();
        for (std::size_t i = 0; i < ports.size(); ++i)
            if (ports[i].index() == id.index())
                at = i;
        const std::string port_text = std::to_string(id.board) + "." + std::to_string(id.port);
        if (at == ports.size())
            throw CLI::ValidationError("--bits", "port " + port_text + " is not among the captured ports");
        if (named[at])
            throw CLI::ValidationError("--bits", "port " + port_text + " is named twice");
        named[at] = true;
        uint16_t mask = 0;
        const std::string list = item.substr(colon + 1);
        std::size_t start = 0;
        do {
            const std::size_t plus = list.find('+', start);
            const std::string range =
                list.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
            start = plus == std::string::npos ? std::string::npos : plus + 1;
            const std::size_t dash = range.find('-');
            const long long low = parse_integer(range.substr(0, dash), "--bits", 0, 15);
            const long long high =
                dash == std::string::npos ? low : parse_integer(range.substr(dash + 1), "--bits", 0, 15);
            if (high < low)
                throw CLI::ValidationError("--bits", "'" + range + "' runs backwards");
            for (long long bit = low; bit <= high; ++bit)
                mask = static_cast<uint16_t>(mask | (1u << bit));
        } while (start != std::string::npos);
        masks[at] = mask;
    } while (from != std::string::npos);
    return masks;
}

Window view_window(const ViewInput &input)
{
    const DumpSummary &summary = input.summary;
    Window window;
    int64_t begin = 0, end = summary.end;
    if (input.link.present && summary.transfer_begin >= 0) {
        begin = summary.transfer_begin;
        end = summary.transfer_end > begin ? summary.transfer_end : summary.end;
    } else if (summary.first_change >= 0) {
        begin = summary.first_change;
        end = summary.early_end > begin ? summary.early_end : summary.end;
    }
    if (end <= begin)
        end = begin + 1;
    // A twentieth of the stretch on each side, a tick at least.
    const int64_t margin = (end - begin) / 20 > 0 ? (end - begin) / 20 : 1;
    window.begin = begin > margin ? begin - margin : 0;
    window.end = end + margin;
    return window;
}

std::string pulseview_time(int64_t value, int exponent)
{
    // A decimal of 24 digits: six limbs of eight digits, the most
    // significant first, worth 10^exponent (a multiple of 8) for the
    // first; then the exponent, the sign, the class (finite) and the
    // precision in limbs.  A zero is all zero limbs at exponent 0.
    uint32_t limbs[6] = {};
    int limb_exponent = 0;
    if (value > 0) {
        // value * 10^exponent, its digits placed on a limb boundary.
        int shift = ((exponent % 8) + 8) % 8;  // digits that go below the boundary
        limb_exponent = exponent - shift;
        std::string digits = std::to_string(value) + std::string(static_cast<std::size_t>(shift), '0');
        // Now the value is digits * 10^limb_exponent; group from the right.
        std::vector<uint32_t> groups;
        while (!digits.empty()) {
            const std::size_t take = digits.size() >= 8 ? 8 : digits.size();
            groups.insert(groups.begin(),
                          static_cast<uint32_t>(std::strtoul(digits.substr(digits.size() - take).c_str(), nullptr, 10)));
            digits.erase(digits.size() - take);
        }
        // Leading groups of zero out; the first limb's weight follows.
        while (groups.size() > 1 && groups.front() == 0)
            groups.erase(groups.begin());
        limb_exponent += 8 * static_cast<int>(groups.size() - 1);
        for (std::size_t i = 0; i < groups.size() && i < 6; ++i)
            limbs[i] = groups[i];
    }
    std::string text = "22 serialization::archive 18 0 0 0 0";
    for (uint32_t limb : limbs)
        text += " " + std::to_string(limb);
    text += " " + std::to_string(limb_exponent) + " 0 0 6";
    return text;
}

std::string pulseview_session(const ViewInput &input)
{
    const std::vector<uint16_t> shown = shown_wires(input);
    const Window window = view_window(input);
    const double seconds = tick_seconds(input.summary.exponent);
    std::string text = "[General]\n";
    text += std::string("decode_signals=") + (input.link.present ? "1" : "0") + "\n";
    text += "meta_objs=0\nviews=1\n";
    for (std::size_t i = 0; i < input.ports.size(); ++i)
        for (int bit = 0; bit < 16; ++bit) {
            if (!((bit_mask(input.bits, i) >> bit) & 1u))
                continue;
            const std::string name = wire_name(input.ports[i], bit);
            text += "\n[" + name + "]\n";
            text += std::string("enabled=") + ((shown[i] >> bit) & 1u ? "true" : "false") + "\n";
            text += "name=" + name + "\n";
        }
    if (input.link.present) {
        // The decoder's channels in its own order: D0-D7, sender, receiver.
        std::vector<std::string> wires;
        for (int bit = 0; bit < 8; ++bit)
            wires.push_back(wire_name(input.ports[input.link.data], bit));
        wires.push_back(wire_name(input.ports[input.link.sender], 0));
        wires.push_back(wire_name(input.ports[input.link.receiver], 0));
        text += "\n[decode_signal0]\n";
        for (std::size_t c = 0; c < wires.size(); ++c) {
            const std::string key = "channel" + std::to_string(c) + "\\";
            text += key + "assigned_signal_name=" + wires[c] + "\n";
            text += key + "initial_pin_state=2\n";
            text += key + "name=" + (c < 8 ? "D" + std::to_string(c) : c == 8 ? "Sender" : "Receiver") + "\n";
        }
        text += "channels=10\n";
        text += "decoder0\\ann_class0\\visible=true\n";
        text += "decoder0\\id=daqgate_link\ndecoder0\\options=0\ndecoder0\\visible=true\ndecoders=1\n";
        text += "enabled=true\nname=daqgate link\n";
    }
    // The view: seconds a pixel, and the time at its left edge.
    char scale[64];
    std::snprintf(scale, sizeof scale, "%.17g",
                  static_cast<double>(window.end - window.begin) * seconds / kPulseViewPixels);
    text += "\n[view0]\n";
    text += "offset=" + pulseview_time(window.begin, input.summary.exponent) + "\n";
    text += std::string("scale=") + scale + "\n";
    text += "segment_display_mode=1\n";
    text += "zero_offset=" + pulseview_time(0, 0) + "\n";
    return text;
}

std::string gtkwave_save(const ViewInput &input)
{
    const std::vector<uint16_t> shown = shown_wires(input);
    const Window window = view_window(input);
    // GTKWave's zoom z shows 2^-z / 200 ticks a pixel (as GTKWave 3.3
    // draws them: 200 pixels a tick at zoom 0).
    const double ticks_per_pixel = static_cast<double>(window.end - window.begin) / kGtkWavePixels;
    const double zoom = -std::log2(ticks_per_pixel * 200);
    char line[128];
    std::string text = "[dumpfile] \"" + input.dump + "\"\n";
    text += "[timestart] " + std::to_string(window.begin) + "\n";
    text += "[size] 1280 400\n[signals_width] 250\n[sst_expanded] 0\n";
    std::snprintf(line, sizeof line, "*%.6f %lld", zoom, static_cast<long long>(window.begin));
    text += line;
    for (int marker = 0; marker < 26; ++marker)
        text += " -1";
    text += "\n";
    // A wire as GTKWave names it: a one-bit wire by its name, a bit of a
    // vector by its index in the vector.
    auto wire = [&](std::size_t i, int bit) {
        const PortId &port = input.ports[i];
        if (input.form == DumpForm::bits)
            return "rig.\\" + wire_name(port, bit);
        return "(" + std::to_string(15 - bit) + ")rig." + port_name(port) + "[15:0]";
    };
    auto data_bits = [&](std::size_t i) {
        std::string bits;
        for (int bit = 7; bit >= 0; --bit)
            bits += " " + wire(i, bit);
        return bits;
    };
    if (input.link.present) {
        const std::string data = port_name(input.ports[input.link.data]);
        text += "@820\n#{" + data + "_as_text}" + data_bits(input.link.data) + "\n";
        text += "@22\n#{" + data + "_hex}" + data_bits(input.link.data) + "\n";
        text += "@28\n";
        text += "+{sender_bit_" + port_name(input.ports[input.link.sender]) + "} " + wire(input.link.sender, 0) + "\n";
        text += "+{receiver_bit_" + port_name(input.ports[input.link.receiver]) + "} " +
                wire(input.link.receiver, 0) + "\n";
        return text;
    }
    for (std::size_t i = 0; i < input.ports.size(); ++i) {
        if (input.form == DumpForm::vectors) {
            if (shown[i] != 0)
                text += "@22\nrig." + port_name(input.ports[i]) + "[15:0]\n";
            continue;
        }
        for (int bit = 0; bit < 16; ++bit)
            if ((shown[i] >> bit) & 1u)
                text += "@28\n" + wire(i, bit) + "\n";
    }
    return text;
}

}  // namespace daqgate::tools
