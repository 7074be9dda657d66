// frame.cpp - argument conversion and result storage shared by the gateways.
#include "frame.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(DAQGATE_OCTAVE_INTERRUPT) && defined(DAQGATE_MATLAB_INTERRUPT)
#  error "a gateway is built for one host's Ctrl-C: Octave's or MATLAB's"
#endif
#if defined(DAQGATE_OCTAVE_INTERRUPT)
#  include "quit.h"
#endif
#if defined(DAQGATE_MATLAB_INTERRUPT)
// MATLAB's libut tells a MEX file of a pending Ctrl-C; no header of
// MATLAB's declares it.  It answers on the thread MATLAB called the
// gateway on, which is the only one a gateway runs.
extern "C" bool utIsInterruptPending(void);
#endif

namespace daqgate {

bool interrupt_requested()
{
#if defined(DAQGATE_OCTAVE_INTERRUPT)
    // Octave's signal handler only notes that some signal came (a child
    // that exited, a terminal resize, Ctrl-C ...); which one, Octave tells
    // once it has handled it, as its interpreter would between two
    // statements.  Handling it here lets SIGTERM and SIGHUP end the host as
    // they always do and a child's SIGCHLD be reaped; only Ctrl-C leaves an
    // interrupt pending, and only that ends the wait.
    if (octave_interrupt_state > 0)
        return true;
    if (octave_signal_caught == 0)
        return false;
    octave_signal_caught = 0;
    try {
        octave_handle_signal();
    } catch (const octave::interrupt_exception &) {
        return true;
    }
    return octave_interrupt_state > 0;
#elif defined(DAQGATE_MATLAB_INTERRUPT)
    return utIsInterruptPending();
#else
    return false;
#endif
}

void raise(const char *message)
{
    mexErrMsgTxt(message);
    // The host's error call unwinds the gateway; it never comes back here.
    std::abort();
}

Call::Call(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
    : gateway_(gateway), plhs_(plhs), prhs_(prhs), room_(nlhs > 1 ? nlhs : 1)
{
    if (nrhs != gateway.args)
        raise(gateway.usage);
}

#if defined(_WIN64)

double encode_handle(DaqHandle handle)
{
    return static_cast<double>(handle);
}

DaqHandle Call::handle(int pos, const char *name) const
{
    // The whole handle, truncated toward zero like an integer.  NaN fails
    // both comparisons.
    const double value = real(pos, name);
    if (!(value > -kHandleSpan - 1 && value < kHandleSpan))
        refuse(name, "must be a buffer handle: a finite number between -2^47 and 2^47");
    return static_cast<DaqHandle>(value);
}

#else

double encode_handle(DaqHandle handle)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uintptr_t>(handle)));
}

DaqHandle Call::handle(int pos, const char *name) const
{
    return decode_handle(integer(pos, name));
}

#endif

DaqHandle decode_handle(int32_t bits)
{
    return static_cast<DaqHandle>(bits);
}

void Call::refuse(const char *name, const char *what) const
{
    char message[256];
    std::snprintf(message, sizeof message, "*** %s: %s %s", gateway_.name, name, what);
    raise(message);
}

void Call::interrupted(const char *where) const
{
    char message[256];
    std::snprintf(message, sizeof message, "*** %s: %s interrupted by the user", gateway_.name, where);
    raise(message);
}

const mxArray *Call::real_array(int pos, const char *name, int min_elements) const
{
    const mxArray *arg = prhs_[pos];
    // The element count in one call: the column count of an Octave value
    // is made afresh (allocated and freed) at each asking, a cost that
    // every argument of every call would pay.
    const size_t elements = mxGetNumberOfElements(arg);
    if (!mxIsDouble(arg) || mxIsComplex(arg) || mxIsSparse(arg) ||
        elements < static_cast<size_t>(min_elements)) {
        refuse(name, min_elements > 1 ? "must be a real double array of at least two elements"
                                      : "must be a real double number");
    }
    return arg;
}

int32_t Call::truncate(double value, const char *name) const
{
    // Truncation toward zero keeps every value strictly between -2^31-1 and
    // 2^31 inside the 32-bit range.  NaN fails both comparisons.
    if (!(value > -2147483649.0 && value < 2147483648.0))
        refuse(name, "must be a finite number within the 32-bit integer range");
    return static_cast<int32_t>(value);
}

int32_t Call::integer(int pos, const char *name) const
{
    return truncate(mxGetScalar(real_array(pos, name, 1)), name);
}

double Call::real(int pos, const char *name) const
{
    return mxGetScalar(real_array(pos, name, 1));
}

float Call::volts(int pos, const char *name) const
{
    return static_cast<float>(real(pos, name));
}

ChannelPair Call::pair(int pos, const char *name) const
{
    const double *elements = mxGetPr(real_array(pos, name, 2));
    return ChannelPair{truncate(elements[0], name), truncate(elements[1], name)};
}

char *Call::text(int pos, const char *name) const
{
    // The host hands out no text for anything but a character array.
    char *copy = mxArrayToString(prhs_[pos]);
    if (copy == nullptr)
        refuse(name, "must be a character array");
    // Octave never reclaims the host's copy, not even when the call ends
    // by an error.  A copy in storage of the call's own is: the host's goes
    // back at once, and the caller frees this one when it is done.
    const size_t length = std::strlen(copy);
    auto *text = static_cast<char *>(mxMalloc(length + 1));
    std::memcpy(text, copy, length + 1);
    mxFree(copy);
    return text;
}

int32_t Call::columns(int pos, const char *name) const
{
    const mxArray *arg = prhs_[pos];
    if (!mxIsDouble(arg) || mxIsComplex(arg) || mxIsSparse(arg))
        refuse(name, "must be a real double array");
    // The elements first: Octave 7 leaks a range's elements (0:7) on every
    // call when its column count is asked before them.
    mxGetPr(arg);
    const size_t columns = mxGetN(arg);
    // A 0-by-n array has n columns and no elements: refused, not read.
    if ((columns > 0 && mxGetM(arg) == 0) || columns > 2147483647u)
        refuse(name, "must be a real double array");
    return static_cast<int32_t>(columns);
}

short *Call::words(int pos, const char *name, int32_t columns) const
{
    const double *elements = mxGetPr(prhs_[pos]);
    // A refused element leaves the list to the host, which reclaims it.
    auto *list = static_cast<short *>(mxMalloc(columns > 0 ? static_cast<size_t>(columns) * sizeof(short) : 1));
    for (int32_t i = 0; i < columns; ++i)
        list[i] = static_cast<short>(static_cast<uint16_t>(truncate(elements[i], name)));
    return list;
}

double *Call::put_matrix(size_t rows, size_t cols) const
{
    plhs_[0] = mxCreateDoubleMatrix(rows, cols, mxREAL);
    return mxGetPr(plhs_[0]);
}

void Call::put(int slot, double value) const
{
    if (has_room(slot))
        plhs_[slot] = mxCreateDoubleScalar(value);
}

void Call::put_text(int slot, const char *text) const
{
    if (has_room(slot))
        plhs_[slot] = mxCreateString(text);
}

}  // namespace daqgate
