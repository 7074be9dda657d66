// QLFetchText - text link reader on ports 15 (data), 16 (sender) and 12
// (receiver).
#include "reader.h"

const daqgate::ReaderMember daqgate::ql_fetch_text{
    {"QLFetchText", 3, daqgate::kQLFetchTextUsage}, {15, 16, 12}, daqgate::ReaderProgress::none, false};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_reader(daqgate::ql_fetch_text, nlhs, plhs, nrhs, prhs);
}
