// read_point.h - one analog input in volts.
#ifndef DAQGATE_ANALOG_READ_POINT_H
#define DAQGATE_ANALOG_READ_POINT_H

#include "analog.h"

namespace daqgate {

inline void run_read_analog(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const int32_t channel = call.integer(1, "channel");
    const int32_t range = call.integer(2, "vrange");

    unsigned short counts = 0;  // what a failed read leaves
    const int status = cbReadAnalog(board, channel, range, &counts);
    float volts = 0;
    cbToEngUnits(board, range, counts, &volts);  // status not examined
    call.put(0, volts);
    call.put(1, status);
}

}  // namespace daqgate

#endif
