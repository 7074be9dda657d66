// cbNewSampleBuffer - analog gateway: a driver sample buffer allocated
// (buffer.h).
#include "buffer.h"

const daqgate::Gateway daqgate::new_sample_buffer{"cbNewSampleBuffer", 1,
                                                  "*** Usage: cbNewSampleBuffer(numPoints)"};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_new_sample_buffer(daqgate::new_sample_buffer, nlhs, plhs, nrhs, prhs);
}
