// QLPullChars - text link gateway; its ports and manner stand in members.cpp.
#include "link.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_reader(daqgate::ql_pull_chars, nlhs, plhs, nrhs, prhs);
}
