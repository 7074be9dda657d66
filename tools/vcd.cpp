// vcd.cpp - the dump's header and changes, at the time scale chosen.
#include "vcd.h"

#include <cmath>
#include <string>

namespace daqgate::tools {

using sim::PortId;

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
    if (request && !requested) {
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

}  // namespace daqgate::tools
