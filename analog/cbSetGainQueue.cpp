// cbSetGainQueue - analog gateway: the channel/gain queue loaded (queue.h).
#include "queue.h"

// The usage text, without its closing parenthesis, stays as scripts know it.
const daqgate::Gateway daqgate::set_gain_queue{
    "cbSetGainQueue", 4, "*** Usage: cbSetGainQueue(boardNum, chanArray, gainArray, numChans"};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_set_gain_queue(daqgate::set_gain_queue, nlhs, plhs, nrhs, prhs);
}
