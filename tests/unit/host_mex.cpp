// host_mex.cpp - the test host's mex operations: the error call and the
// printing.  On Windows this is the stand-in libmex.dll, over libmx.dll.
#include <cstdarg>
#include <cstdio>

#include "host.h"

extern "C" {

void mexErrMsgTxt(const char *message)
{
    testhost::raise_error(message);
}

int mexPrintf(const char *format, ...)
{
    char buffer[4096];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    testhost::print(buffer);
    return length;
}

}  // extern "C"
