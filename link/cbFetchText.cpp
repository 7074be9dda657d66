// cbFetchText - text link reader on ports 10 (data), 11 (sender) and 14
// (receiver).
#include "reader.h"

// The usage text, with two spaces after "Usage:", stays as scripts know it.
const daqgate::ReaderMember daqgate::cb_fetch_text{
    {"cbFetchText", 3, "*** Usage:  [stringVal] = cbFetchText(boardNum, timeOut, buffSize)"},
    {10, 11, 14},
    daqgate::ReaderProgress::none,
    false};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_reader(daqgate::cb_fetch_text, nlhs, plhs, nrhs, prhs);
}
