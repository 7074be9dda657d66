// libut.cpp - a stand-in for the host's libut, for gateways built with
// DAQGATE_MATLAB_INTERRUPT: utIsInterruptPending() answers whether the
// user has pressed Ctrl-C, as the host's own does for a MEX file.  The
// test's host raises (and lowers) the flag with utSetInterruptPending,
// from a signal handler or a timer, as the host's console does; reading it
// leaves it raised until the host lowers it, as the host's own does while
// a MEX file runs.
#include <atomic>

#if defined(_WIN32)
#  define DAQGATE_UT_API __declspec(dllexport)
#else
#  define DAQGATE_UT_API __attribute__((visibility("default")))
#endif

namespace {

// Lock-free, so that a signal handler may raise it.
std::atomic<bool> pending(false);

}  // namespace

extern "C" {

DAQGATE_UT_API bool utIsInterruptPending(void)
{
    return pending.load();
}

// Returns the flag as it was.
DAQGATE_UT_API bool utSetInterruptPending(bool raised)
{
    return pending.exchange(raised);
}

}  // extern "C"
