// cbErrorText - gateway over the driver operation of the same name.
#include "label.h"

const daqgate::LabelMember daqgate::error_text{
    {"cbErrorText", 1, "*** Usage: [errorString] = cbErrorText(errorCode)"},
    "errorCode",
    CB_ERRSTRLEN,
    false,
    [](int code, char *text) { return cbErrorText(code, text); }};

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    daqgate::run_label_gateway(daqgate::error_text, nlhs, plhs, nrhs, prhs);
}
