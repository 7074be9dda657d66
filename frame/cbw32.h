/*
 * cbw32.h - the board driver operations that the gateways call.
 *
 * This is the only boundary between a gateway and the board: the gateways
 * reach the board through the functions of its table of operations
 * (cbw32_ops.h) and nothing else.  The board's own driver library provides
 * them on Windows; the simulated board (sim/) provides them on every
 * platform, and the unit tests put a recording fake behind the same
 * declarations.
 *
 * Conventions, for every operation but cbNewSampleBuffer:
 *   - the result is a status code: 0 on success, any other value an error
 *     code that cbErrorText() turns into a text;
 *   - out arguments are only meaningful when the status is 0.  A caller must
 *     initialise them if it wants a defined value after a failure.
 *
 * The declarations use the calling convention of the board's import library
 * (__stdcall on 32-bit Windows) so that gateways built with MATLAB's mex
 * link against the real driver unchanged.
 */
#ifndef DAQGATE_CBW32_H
#define DAQGATE_CBW32_H

#include <stdint.h>

#if defined(_WIN32)
#  define CBWINAPI __stdcall
#else
#  define CBWINAPI
#endif

/* Symbols of the simulated driver are exported explicitly; everything else
 * in that library stays hidden.  On Windows the simulated driver's DLL
 * exports what its module-definition file names (made from cbw32_ops.h);
 * a DLL that exports more besides (the tests' fake) marks the operations
 * instead. */
#if defined(_WIN32) && defined(DAQGATE_EXPORT_CBW32)
#  define CBW_EXPORT __declspec(dllexport)
#elif defined(DAQGATE_BUILDING_CBW32) && defined(__GNUC__) && !defined(_WIN32)
#  define CBW_EXPORT __attribute__((visibility("default")))
#else
#  define CBW_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A sample buffer handle.  Pointer sized, as the board's driver returns a
 * memory handle.  Through a script it travels as a double: on 64-bit
 * Windows the whole handle, elsewhere its low 32 bits read as a signed
 * integer (see frame/frame.h, encode_handle and Call::handle). */
typedef intptr_t DaqHandle;

/* Length of the text buffers of cbErrorText and cbBoardLabel, terminator
 * included. */
#define CB_ERRSTRLEN 256
#define CB_BOARDNAMELEN 28

/* The codes the gateways and the driver agree on.  The real driver's
 * meaning of each is its own; these are the values the callers pass. */
#define CB_DIGITAL_OUT 1 /* cbSetPortDirection: the port drives its lines */
#define CB_DIGITAL_IN 2  /* cbSetPortDirection: the port reads its lines */
#define CB_FOREGROUND 0  /* cbReadAnalogScan options: return with the samples */
#define CB_BACKGROUND 3  /* cbReadAnalogScan options: return at once, fill a ring */
#define CB_AIFUNCTION 1  /* function type of the analog input background scan */
#define CB_RUNNING 1     /* the state cbGetIOStatus reports while it runs */

/* The operations, each declared from its row of the table (cbw32_ops.h),
 * where what each does and how it fails is told. */
#define CBW32_OP(name, ident, stack, returns, parameters) CBW_EXPORT returns CBWINAPI name parameters;
#include "cbw32_ops.h"

#ifdef __cplusplus
}
#endif

#endif /* DAQGATE_CBW32_H */
