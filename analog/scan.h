// scan.h - foreground scan and background scan start: the procedure.
// Each member stands in its gateway's own source.
#ifndef DAQGATE_ANALOG_SCAN_H
#define DAQGATE_ANALOG_SCAN_H

#include "convert.h"

namespace daqgate {

inline void run_scan(const ScanMember &member, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(member.gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const ChannelPair channels = call.pair(1, "[lowChan, highChan]");
    const int32_t count = call.integer(2, member.count_name);
    int rate = call.integer(3, "sampleRate");  // the driver writes back the rate it used
    const int32_t range = call.integer(4, "vrange");
    const DaqHandle handle = call.handle(5, "memHandle");
    if (count < 0)
        call.refuse(member.count_name, "must not be negative");

    const int status =
        cbReadAnalogScan(board, channels.low, channels.high, count, &rate, range, handle, member.options);
    if (member.convert != nullptr) {
        // A failed scan left nothing to convert; an empty row then, so that
        // no count the driver refused decides the size of a result.
        const int32_t samples = status == 0 ? count : 0;
        double *data = call.put_matrix(1, static_cast<size_t>(samples));
        member.convert(board, range, handle, 0, samples, data);
        call.put(1, rate);
        call.put(2, status);
    } else {
        call.put(0, rate);
        call.put(1, status);
    }
}

}  // namespace daqgate

#endif
