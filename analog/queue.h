// queue.h - the channel/gain queue.
#ifndef DAQGATE_ANALOG_QUEUE_H
#define DAQGATE_ANALOG_QUEUE_H

#include "analog.h"

namespace daqgate {

inline void run_set_gain_queue(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const int32_t entries = call.integer(3, "numChans");
    const int32_t channels_length = call.columns(1, "chanArray");
    if (channels_length != call.columns(2, "gainArray"))
        raise("*** chanArray and gainArray must be the same length");
    // The driver reads numChans entries of each list: never past their end.
    if (entries > channels_length)
        call.refuse("numChans", "must not exceed the length of chanArray and gainArray");

    short *channels = call.words(1, "chanArray", channels_length);
    short *ranges = call.words(2, "gainArray", channels_length);
    const int status = cbSetGainQueue(board, channels, ranges, entries);
    call.put(0, status);
    mxFree(channels);
    mxFree(ranges);
}

}  // namespace daqgate

#endif
