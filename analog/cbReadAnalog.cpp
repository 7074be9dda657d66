// cbReadAnalog - analog gateway: one input read in volts (read_point.h).
#include "read_point.h"

const daqgate::Gateway daqgate::read_analog{"cbReadAnalog", 3,
                                            "*** Usage: cbReadAnalog(boardNum, channel, vrange)"};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_read_analog(daqgate::read_analog, nlhs, plhs, nrhs, prhs);
}
