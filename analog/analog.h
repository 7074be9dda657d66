// analog.h - the analog gateways: point I/O, the channel/gain queue, the
// sample buffer, and the scans, each family one procedure.  Each procedure
// takes its member, which stands in its gateway's own source: a gateway
// as scripts know it (name, argument count, usage text) and, for the
// scans, the options and conversion that set each apart.
#ifndef DAQGATE_ANALOG_H
#define DAQGATE_ANALOG_H

#include "frame.h"

namespace daqgate {

// cbReadAnalog and cbWriteAnalog: one board access and one conversion.
extern const Gateway read_analog;
extern const Gateway write_analog;
void run_read_analog(const Gateway &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);
void run_write_analog(const Gateway &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

extern const Gateway set_gain_queue;
extern const Gateway new_sample_buffer;
void run_set_gain_queue(const Gateway &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);
void run_new_sample_buffer(const Gateway &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

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

// Converts count samples of the buffer from position first on into volts
// at data, reading them through the driver's copy in blocks, so that only
// the driver touches the buffer and a range past its end is the driver's
// refusal, not a wild read.  Samples of a refused copy are NaN; returns
// false if any copy was refused.
bool convert_samples(int32_t board, int32_t range, DaqHandle handle, int32_t first, int32_t count,
                     double *data);

// The same for a call whose samples come in pieces (a ring's wrap): one
// conversion of all the call's samples, each piece converted in turn.
class Conversion {
public:
    Conversion(int32_t board, int32_t range, int64_t samples);
    bool convert(DaqHandle handle, int32_t first, int32_t count, double *data) const;

private:
    int32_t board_;
    int32_t range_;
    uint64_t mark_;  // 0: every sample asked of the driver
};

void run_scan(const ScanMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

// cbFetchBackgroundData: the samples a background scan stored since the
// previous fetch, as a channels-by-scans matrix of whole scans.
extern const Gateway fetch_background;
void run_fetch_background(const Gateway &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

// cbQueryScanState and cbHaltBackground: one driver call on (board,
// function type) each.
extern const Gateway query_scan_state;
extern const Gateway halt_background;
void run_query_scan_state(const Gateway &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);
void run_halt_background(const Gateway &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

}  // namespace daqgate

#endif
