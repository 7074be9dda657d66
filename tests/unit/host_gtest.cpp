// host_gtest.cpp - what the test host reports goes to GoogleTest: a misuse
// of a host operation, and a result that is not there.  Compiled into the
// test programs, not into the host (on Windows, libmx.dll).
#include <gtest/gtest.h>

#include "host.h"

namespace testhost {

namespace {

const bool installed = [] {
    misuse = [](const char *what) { ADD_FAILURE() << what; };
    return true;
}();

}  // namespace

double Result::out(int i) const
{
    if (i >= static_cast<int>(outputs.size()) || outputs[i] == nullptr) {
        ADD_FAILURE() << "output " << i + 1 << " was not set";
        return -12345.0;
    }
    if (!is_double(outputs[i]) || rows(outputs[i]) != 1 || cols(outputs[i]) != 1) {
        ADD_FAILURE() << "output " << i + 1 << " is not a double scalar";
        return -12345.0;
    }
    return value(outputs[i]);
}

}  // namespace testhost
