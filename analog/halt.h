// halt.h - stop a background operation.
#ifndef DAQGATE_ANALOG_HALT_H
#define DAQGATE_ANALOG_HALT_H

#include "analog.h"

namespace daqgate {

inline void run_halt_background(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const int32_t function = call.integer(1, "functionType");
    call.put(0, cbStopIOBackground(board, function));
}

}  // namespace daqgate

#endif
