// mexapi_version.cpp - compiled into every MATLAB-shaped module, as MATLAB's
// mex adds its own: the host asks the module, before calling it, which
// release built it and which API it was built for (DAQGATE_MATLAB_API).
// The release is written as the hexadecimal digits of its name (R2018a:
// 0x2018a); DAQGATE_MATLAB_RELEASE gives it.
#include "mex.h"

extern "C" void mexfilerequiredapiversion(unsigned int *built_by_rel, unsigned int *target_api_ver)
{
    *built_by_rel = DAQGATE_MATLAB_RELEASE;
    *target_api_ver = DAQGATE_MATLAB_API;
}
