// cbPushText - text link writer on ports 10 (data), 11 (sender) and 14
// (receiver).
#include "writer.h"

const daqgate::WriterMember daqgate::cb_push_text{
    {"cbPushText", 3, daqgate::kPushTextUsage}, {10, 11, 14}, false};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_writer(daqgate::cb_push_text, nlhs, plhs, nrhs, prhs);
}
