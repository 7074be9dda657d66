// QLPushText - text link gateway; its ports and manner stand in members.cpp.
#include "link.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_writer(daqgate::ql_push_text, nlhs, plhs, nrhs, prhs);
}
