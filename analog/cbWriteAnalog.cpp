// cbWriteAnalog - analog gateway: one output set in volts (write_point.h).
#include "write_point.h"

const daqgate::Gateway daqgate::write_analog{"cbWriteAnalog", 4,
                                             "*** Usage: cbWriteAnalog(boardNum, channel, vrange, volts)"};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_write_analog(daqgate::write_analog, nlhs, plhs, nrhs, prhs);
}
