// QLPushText - text link writer on cbPushText's ports that clears the data
// port after each character.
#include "writer.h"

const daqgate::WriterMember daqgate::ql_push_text{
    {"QLPushText", 3, daqgate::kPushTextUsage}, {10, 11, 14}, true};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_writer(daqgate::ql_push_text, nlhs, plhs, nrhs, prhs);
}
