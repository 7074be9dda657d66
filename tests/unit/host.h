// host.h - the test host: the mx/mex operations the gateways use, kept in
// this process, so that a gateway's mexFunction can be called directly.
//
// Like a real host it gives plhs room for max(nlhs, 1) results; the test
// host also puts guard entries behind that room and behind each double
// array's elements and reports any write to them, any array created but
// not stored, and any temporary storage still held after a normal return.  mexErrMsgTxt throws HostError, which ends
// the gateway's call as the host's own error call would.
#ifndef DAQGATE_TESTS_HOST_H
#define DAQGATE_TESTS_HOST_H

#include <initializer_list>
#include <string>
#include <vector>

#include "mex.h"

// On Windows the test host is the stand-in libmx.dll: what the test
// programs use of it is exported from there.
#if defined(_WIN32) && defined(DAQGATE_BUILDING_LIBMX)
#  define TESTHOST_API __declspec(dllexport)
#elif defined(_WIN32)
#  define TESTHOST_API __declspec(dllimport)
#else
#  define TESTHOST_API
#endif

namespace testhost {

// Script values.
TESTHOST_API mxArray *num(double value);
TESTHOST_API mxArray *row(std::initializer_list<double> values);
TESTHOST_API mxArray *matrix(int rows, int cols, std::vector<double> values);
TESTHOST_API mxArray *str(const std::string &text);
TESTHOST_API mxArray *cell();
TESTHOST_API mxArray *structure();
TESTHOST_API mxArray *logical(bool value);
TESTHOST_API mxArray *int32(int value);
TESTHOST_API mxArray *single(float value);
TESTHOST_API mxArray *complex(double re);                                // a complex scalar with real part re
TESTHOST_API mxArray *sparse_row(std::initializer_list<double> values);  // stores only its nonzeros

// Reading results.
TESTHOST_API bool is_double(const mxArray *array);
TESTHOST_API int rows(const mxArray *array);
TESTHOST_API int cols(const mxArray *array);
TESTHOST_API double value(const mxArray *array, int index = 0);
TESTHOST_API std::string text(const mxArray *array);

// Called when a gateway uses a host operation in a way the host does not
// allow (reads a non-double through mxGetPr, frees foreign storage ...):
// a test failure by default; the fuzzer makes it a crash.
extern TESTHOST_API void (*misuse)(const char *what);

// Signals as Octave notes them for a gateway: host_signal(true) is the
// user's Ctrl-C, host_signal(false) any other signal the host catches (a
// child that exited).  signals_handled counts octave_handle_signal calls.
TESTHOST_API void host_signal(bool interrupt);
TESTHOST_API void clear_signals();
extern TESTHOST_API int signals_handled;
extern TESTHOST_API bool pending_interrupt;

struct HostError {
    std::string message;
};

using Entry = void(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

struct Result {
    bool raised = false;
    std::string error;               // the text given to mexErrMsgTxt
    std::vector<mxArray *> outputs;  // plhs, max(nlhs, 1) entries
    std::string printed;             // everything mexPrintf showed
    bool wrote_past_room = false;    // a store behind the room the host gave
    bool wrote_past_data = false;    // a store behind a double array's elements
    int unstored_arrays = 0;         // created by the gateway, not in plhs
    int held_blocks = 0;             // mxMalloc storage not freed on return
    int held_texts = 0;              // mxArrayToString copies never freed
    std::vector<size_t> reallocs;    // sizes asked of mxRealloc, in order
    std::vector<size_t> mallocs;     // sizes asked of mxMalloc, in order

    // Output i as a double scalar (fails the test if it is missing).
    double out(int i) const;
};

// Calls a gateway with the given arguments; the arguments are the host's.
TESTHOST_API Result call(Entry *gateway, int nlhs, std::initializer_list<mxArray *> args);
TESTHOST_API Result call(Entry *gateway, int nlhs, const std::vector<mxArray *> &args);

// Frees every array made so far (for long runs such as the fuzzer's).
TESTHOST_API void forget_arrays();

// The host's side of the mex operations (libmex.dll on Windows): the error
// call, which ends the gateway's call, and what mexPrintf shows.
[[noreturn]] TESTHOST_API void raise_error(const char *message);
TESTHOST_API void print(const char *text);

}  // namespace testhost

#endif
