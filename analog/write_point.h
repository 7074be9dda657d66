// write_point.h - one analog output set in volts.
#ifndef DAQGATE_ANALOG_WRITE_POINT_H
#define DAQGATE_ANALOG_WRITE_POINT_H

#include "analog.h"

namespace daqgate {

inline void run_write_analog(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const int32_t channel = call.integer(1, "channel");
    const int32_t range = call.integer(2, "vrange");
    const float volts = call.volts(3, "volts");  // narrowed to single, to nearest

    unsigned short counts = 0;                     // what a failed conversion leaves
    cbFromEngUnits(board, range, volts, &counts);  // status not examined
    const int status = cbWriteAnalog(board, channel, range, counts);
    call.put(0, counts);  // unsigned: never negative
    call.put(1, status);
}

}  // namespace daqgate

#endif
