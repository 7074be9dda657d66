/*
 * cbw32.h - the board driver operations that the gateways call.
 *
 * This is the only boundary between a gateway and the board: the gateways
 * reach the board through these fifteen functions and nothing else.  The
 * board's own driver library provides them on Windows; the simulated board
 * (sim/) provides them on every platform, and the unit tests put a recording
 * fake behind the same declarations.
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
 * exports what its module-definition file names (cbw32.def); a DLL that
 * exports more besides (the tests' fake) marks the operations instead. */
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
 * memory handle; only its low 32 bits travel through a script (see
 * frame/frame.h, decode_handle). */
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

/* Digital ports --------------------------------------------------------- */

/* Reads a digital port into *value.
 * Fails (nonzero) for an unknown board or port. */
CBW_EXPORT int CBWINAPI cbReadPort(int board, int port, unsigned short *value);

/* Writes the 16-bit value to a digital port.
 * Fails for an unknown board or port, and for a port that is not an output. */
CBW_EXPORT int CBWINAPI cbWritePort(int board, int port, unsigned short value);

/* Sets a port's direction (CB_DIGITAL_OUT or CB_DIGITAL_IN).
 * Fails for an unknown board, port or direction code. */
CBW_EXPORT int CBWINAPI cbSetPortDirection(int board, int port, int direction);

/* Analog point I/O -------------------------------------------------------- */

/* Takes one raw sample of an input channel into *value.
 * Fails for an unknown board, channel or range. */
CBW_EXPORT int CBWINAPI cbReadAnalog(int board, int channel, int range, unsigned short *value);

/* Sets an output channel to a raw count.
 * Fails for an unknown board, channel or range. */
CBW_EXPORT int CBWINAPI cbWriteAnalog(int board, int channel, int range, unsigned short value);

/* Converts a raw count to volts of the range.  Fails for an unknown range;
 * *volts is then left as it was. */
CBW_EXPORT int CBWINAPI cbToEngUnits(int board, int range, unsigned short count, float *volts);

/* Converts volts to the nearest raw count of the range, clamped to the
 * converter's span.  Fails for an unknown range; *count is then left as it was. */
CBW_EXPORT int CBWINAPI cbFromEngUnits(int board, int range, float volts, unsigned short *count);

/* Board utilities -------------------------------------------------------- */

/* Writes the text of a status code, terminated, into text (CB_ERRSTRLEN bytes).
 * An unknown code gets a text saying so. */
CBW_EXPORT int CBWINAPI cbErrorText(int code, char *text);

/* Writes the board's name, terminated, into name (CB_BOARDNAMELEN bytes).
 * Fails for an unknown board; name is then an empty text. */
CBW_EXPORT int CBWINAPI cbBoardLabel(int board, char *name);

/* Scans ------------------------------------------------------------------ */

/* Loads a channel/gain queue of count entries.
 * Fails for an unknown board, channel or range, or a bad count. */
CBW_EXPORT int CBWINAPI cbSetGainQueue(int board, const short *channels, const short *ranges, int count);

/* Scans channels low..high into the buffer named by handle, count samples
 * in all, at *rate scans per second; writes back the rate used.  Options
 * word 0 returns with the scan complete; 3 returns at once and goes on
 * filling the buffer as a ring.
 * Fails for an unknown board, channel, range, handle or options word, or a
 * count that does not fit the buffer. */
CBW_EXPORT int CBWINAPI cbReadAnalogScan(int board, int low, int high, int count, int *rate, int range,
                                         DaqHandle handle, int options);

/* Allocates a buffer of count samples.  Returns its handle, 0 on failure. */
CBW_EXPORT DaqHandle CBWINAPI cbNewSampleBuffer(int count);

/* Copies count samples from position first of the buffer into out.
 * Fails, copying nothing, for an unknown handle or a range that leaves the buffer. */
CBW_EXPORT int CBWINAPI cbWinBufToArray(DaqHandle handle, unsigned short *out, int first, int count);

/* Reports the state (CB_RUNNING while it runs), total count and index of a background
 * operation.  Fails for an unknown board or function type. */
CBW_EXPORT int CBWINAPI cbGetIOStatus(int board, short *state, int *count, int *index, int function);

/* Stops a background operation.  Fails for an unknown board or function type. */
CBW_EXPORT int CBWINAPI cbStopIOBackground(int board, int function);

#ifdef __cplusplus
}
#endif

#endif /* DAQGATE_CBW32_H */
