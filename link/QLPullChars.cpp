// QLPullChars - text link reader on ports 15, 16 and 12 that prints a text
// after each character and keeps the line feed.
#include "reader.h"

const daqgate::ReaderMember daqgate::ql_pull_chars{
    {"QLPullChars", 3, daqgate::kQLFetchTextUsage}, {15, 16, 12}, daqgate::ReaderProgress::per_char, true};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_reader(daqgate::ql_pull_chars, nlhs, plhs, nrhs, prhs);
}
