// buffer.h - allocation of a driver sample buffer.
#ifndef DAQGATE_ANALOG_BUFFER_H
#define DAQGATE_ANALOG_BUFFER_H

#include "analog.h"

namespace daqgate {

inline void run_new_sample_buffer(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(gateway, nlhs, plhs, nrhs, prhs);
    const int32_t points = call.integer(0, "numPoints");
    // Whatever the driver returns, 0 for a failed allocation included.
    call.put(0, encode_handle(cbNewSampleBuffer(points)));
}

}  // namespace daqgate

#endif
