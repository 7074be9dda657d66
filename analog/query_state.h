// query_state.h - watch a background operation.
#ifndef DAQGATE_ANALOG_QUERY_STATE_H
#define DAQGATE_ANALOG_QUERY_STATE_H

#include "analog.h"

namespace daqgate {

inline void run_query_scan_state(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const int32_t function = call.integer(1, "functionType");

    // A failed query writes nothing: it then reports a stopped operation
    // at count and index 0.
    short state = 0;
    int count = 0;
    int index = 0;
    const int status = cbGetIOStatus(board, &state, &count, &index, function);
    call.put(0, state);  // signed
    call.put(1, count);
    call.put(2, index);
    call.put(3, status);
}

}  // namespace daqgate

#endif
