// analog.h - the analog gateways: point I/O, the channel/gain queue, the
// sample buffer, and the scans, each family one procedure.  A procedure
// of one gateway takes that gateway as scripts know it (name, argument
// count, usage text); the scans' procedure takes a member, which stands
// in each scan gateway's own source: its Gateway and the options and
// conversion that set it apart.
//
// Each procedure is defined inline in a header of its own (read_point.h,
// scan.h, background.h ...), which its gateways' sources include: a
// gateway is its own source and the frame, whatever builds it, and links
// only the driver operations its procedure calls.
#ifndef DAQGATE_ANALOG_H
#define DAQGATE_ANALOG_H

#include "frame.h"

namespace daqgate {

// cbReadAnalog and cbWriteAnalog: one board access and one conversion.
extern const Gateway read_analog;
extern const Gateway write_analog;

extern const Gateway set_gain_queue;
extern const Gateway new_sample_buffer;

// The two gateways that start a scan of channels lowChan..highChan: the
// same driver call with another options word.  A foreground scan returns
// with its samples, which the gateway converts (convert_samples); a
// background scan returns at once and fills the buffer as a ring, and
// converts nothing (convert is nullptr).
struct ScanMember {
    Gateway gateway;
    const char *count_name;  // sampleCount or bufferSize
    int options;
    bool (*convert)(int32_t board, int32_t range, DaqHandle handle, int32_t first, int32_t count,
                    double *data);
};

extern const ScanMember foreground_scan;
extern const ScanMember background_scan;

// cbFetchBackgroundData: the samples a background scan stored since the
// previous fetch, as a channels-by-scans matrix of whole scans.
extern const Gateway fetch_background;

// cbQueryScanState and cbHaltBackground: one driver call on (board,
// function type) each.
extern const Gateway query_scan_state;
extern const Gateway halt_background;

}  // namespace daqgate

#endif
