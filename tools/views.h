// views.h - what opens a capture on its transfer: a PulseView session and
// a GTKWave save file written beside the dump.
#ifndef DAQGATE_TOOLS_VIEWS_H
#define DAQGATE_TOOLS_VIEWS_H

#include <string>
#include <vector>

#include "capture.h"
#include "rig.h"

namespace daqgate::tools {

// The link's port assignments, as (data, sender bit, receiver bit) port
// codes: the writers' and cbFetchText's, QLFetchText's and QLPullChars',
// QLFetchTextD's.
struct LinkPorts {
    int data, sender, receiver;
};
extern const LinkPorts kLinkAssignments[3];

// The first link end among the captured ports: the three ports of one
// assignment on one board, whose wires the dump carries (in the bits
// form, bits 0-7 of the data port and bit 0 of each flag port).
LinkWires find_link(const std::vector<sim::PortId> &ports, DumpForm form, const BitMasks &bits);

// Whether the dump carries what the link's decoder reads of these ports.
bool carries_link(const LinkWires &link, DumpForm form, const BitMasks &bits);

// Bits as B.P:LIST[,B.P:LIST...], LIST as N, N-M or several joined by
// '+' (0.10:0-7,0.11:0,0.14:0): the wires of each named port, among the
// captured ones; a port not named keeps all 16.
BitMasks parse_bit_lists(const std::string &text, const std::vector<sim::PortId> &ports);

// What the views show: the dump and what it holds.
struct ViewInput {
    std::string dump;  // the dump's file name, as the views name it
    std::vector<sim::PortId> ports;
    DumpForm form = DumpForm::vectors;
    BitMasks bits;
    LinkWires link;
    DumpSummary summary;
};

// The stretch of ticks the views open on: the link's first transfer, or
// the first change, with a margin; the whole dump when nothing changed.
struct Window {
    int64_t begin = 0, end = 1;
};
Window view_window(const ViewInput &input);

// The PulseView session (its file NAME.pvs beside NAME.vcd is loaded with
// it): the wires of interest shown, the others hidden, the link's decoder
// on its wires, zoomed to the window.  Only the bits form has one: the
// vector form's 16-bit wires are more than sigrok reads.
std::string pulseview_session(const ViewInput &input);

// The GTKWave save file: the link's data as text and hex beside both
// flags, or the wires of interest, zoomed to the window.
std::string gtkwave_save(const ViewInput &input);

// A time as PulseView's session keeps it (a decimal number serialized
// as its view restores it): seconds = value * 10^exponent.
std::string pulseview_time(int64_t value, int exponent);

}  // namespace daqgate::tools

#endif
