// frame.h - what every gateway shares: the check of a call, the conversion
// of the script's values into what the driver takes, and the results.
//
// The frame is compiled into each gateway (a static library); no gateway
// depends on another at run time.  It keeps no state between calls.
//
// Argument policy.  Every argument is read exactly as the script's numbers
// come by default, as a real double; the frame refuses, with a "*** " error
// naming the gateway and the argument and before any driver call:
//   - integer arguments (board, port, channel, count, code, handle ...):
//     anything but a non-empty real double, and values whose truncation
//     toward zero is NaN, infinite or outside the 32-bit signed range.
//     Extra elements of a non-scalar array are ignored (the first counts).
//   - double arguments (time limits) and volts: anything but a non-empty
//     real double; every value, NaN and infinities included, is passed on.
//   - channel pairs: anything but a real double array of at least two
//     elements; both elements then follow the integer rule.
//   - texts: anything that is not a character array.
//   - arrays (channel and range lists): anything but a real double array
//     whose elements cover its column count; each element then follows
//     the integer rule.
//   - buffer handles: as integers, but on 64-bit Windows; see encode_handle.
// Character, cell, struct, logical, complex, integer-class, single and
// sparse arguments are therefore refused, never guessed at (a sparse
// array's elements are not where mxGetPr points for a full one).
#ifndef DAQGATE_FRAME_H
#define DAQGATE_FRAME_H

#include <cstdint>

#include "mex.h"

#include "cbw32.h"

namespace daqgate {

// A gateway as scripts know it: its name, its exact argument count and the
// usage text raised when the count is wrong.
struct Gateway {
    const char *name;
    int args;
    const char *usage;
};

// First and last channel of a scan, as the script's [lowChan, highChan].
struct ChannelPair {
    int32_t low;
    int32_t high;
};

// A buffer handle travels through a script as the double of its low 32
// bits read as a signed integer (exact), and comes back truncated to the
// same 32 bits.  encode_handle and Call::handle are the only places that
// map a driver handle to and from that number: on 32-bit Windows the
// handle is the buffer's address; the simulated driver's handles are
// 32-bit tags sign-extended to the handle type, so both round trips are
// exact.
//
// On 64-bit Windows a buffer's address need not fit in 32 bits: there the
// whole handle travels, as the double of its value.  User-space addresses
// lie below 2^47 and the simulated driver's tags above -2^31, all exact in
// a double; a memHandle outside (-2^47, 2^47) is refused.
double encode_handle(DaqHandle handle);
DaqHandle decode_handle(int32_t bits);
constexpr double kHandleSpan = 140737488355328.0;  // 2^47

// Whether the user has asked the host to interrupt the running call
// (Ctrl-C).  Only a host that lets a gateway see it answers: Octave, in a
// build with DAQGATE_OCTAVE_INTERRUPT, and MATLAB, in a build with
// DAQGATE_MATLAB_INTERRUPT (linked with MATLAB's libut); elsewhere always
// false.
bool interrupt_requested();

// Raises a host error.  The host's error call does not return; the frame
// says so to the compiler.
[[noreturn]] void raise(const char *message);

// One call of a gateway.  Constructing it makes the count check.
class Call {
public:
    Call(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

    // Arguments; pos counts from 0, name is the name of the usage text.
    int32_t integer(int pos, const char *name) const;
    double real(int pos, const char *name) const;
    float volts(int pos, const char *name) const;
    ChannelPair pair(int pos, const char *name) const;
    // A terminated copy of a character array's text, in storage from the
    // host's allocator: the caller frees it (mxFree) when it is done.
    char *text(int pos, const char *name) const;
    // The column count of a real double array (the length of a list).
    int32_t columns(int pos, const char *name) const;
    DaqHandle handle(int pos, const char *name) const;
    // A list of 16-bit entries from the first columns elements of an array
    // that columns() has passed: the low 16 bits of each truncated element,
    // in storage order, in storage from the host's allocator (at least one
    // byte, so never a null request).  The count is the caller's, so that
    // the host is not asked for it again: Octave makes it afresh each time.
    short *words(int pos, const char *name, int32_t columns) const;

    // Results.  The host gives room for max(nlhs, 1) results; a result past
    // that room is neither created nor stored.
    bool has_room(int slot) const { return slot < room_; }
    void put(int slot, double value) const;
    void put_text(int slot, const char *text) const;
    // Output 1 as a real rows-by-cols matrix; returns its elements.  The
    // host always has room for output 1.
    double *put_matrix(size_t rows, size_t cols) const;

    // Raises "*** NAME: ARG WHAT" for an argument the gateway cannot take.
    [[noreturn]] void refuse(const char *name, const char *what) const;
    // Raises "*** NAME: WHERE interrupted by the user" when the user asked
    // the host to interrupt the call while it waited at WHERE.
    [[noreturn]] void interrupted(const char *where) const;

private:
    const mxArray *real_array(int pos, const char *name, int min_elements) const;
    int32_t truncate(double value, const char *name) const;

    const Gateway &gateway_;
    mxArray **plhs_;
    const mxArray **prhs_;
    int room_;
};

}  // namespace daqgate

#endif  // DAQGATE_FRAME_H
