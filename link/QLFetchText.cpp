// QLFetchText - text link gateway; its ports and manner stand in members.cpp.
#include "link.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_reader(daqgate::ql_fetch_text, nlhs, plhs, nrhs, prhs);
}
