// QLFetchTextD - text link reader on ports 14, 15 and 10 that prints each
// phase of the handshake.
#include "reader.h"

const daqgate::ReaderMember daqgate::ql_fetch_text_d{
    {"QLFetchTextD", 3, daqgate::kQLFetchTextUsage}, {14, 15, 10}, daqgate::ReaderProgress::handshake, false};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_reader(daqgate::ql_fetch_text_d, nlhs, plhs, nrhs, prhs);
}
