/*
 * cbw32_ops.h - the board driver's operations: the one table of them.
 *
 * Not a header to include for its own sake: it expands, once per
 * operation, whichever of these macros the includer defined, and leaves
 * both undefined after it.  cbw32.h declares the operations from it; the
 * build makes the driver DLL's module-definition file from it (the
 * operations' names and stack bytes, cmake/driver.cmake); the simulated
 * board names its operations and their faults and pacing from it
 * (sim/faults.h); the unit tests' fake driver takes its handlers from it.
 *
 *   CBW32_OP(name, ident, stack, returns, parameters)
 *       an operation that takes no board;
 *   CBW32_BOARD_OP(name, ident, stack, returns, parameters, reach)
 *       one that takes a board, first: the simulated board's faults and
 *       latency act on it.  An includer that defines only CBW32_OP sees
 *       these as CBW32_OP too.
 *
 * The columns:
 *   name        the entry point, as the gateways call it and the DLL exports it;
 *   ident       the operation's name in the C++ code (the faults, the fake);
 *   stack       the bytes of its arguments on 32-bit Windows: the stdcall
 *               decoration of the import library's names (_cbReadPort@12);
 *   returns     its result's type;
 *   parameters  its parameter list;
 *   reach       what of the board a call reaches: `port` or `channel`, one
 *               of them that a fault may be limited to; `board`, the board
 *               as a whole; `arithmetic`, nothing of it: the driver's own
 *               conversion, which no board's latency paces.
 *
 * Each line of the table stands on one line from its macro's name to its
 * stack bytes: the build reads those with a pattern.
 */
#ifndef CBW32_OP
#  define CBW32_OP(name, ident, stack, returns, parameters)
#endif
#ifndef CBW32_BOARD_OP
#  define CBW32_BOARD_OP(name, ident, stack, returns, parameters, reach) \
    CBW32_OP(name, ident, stack, returns, parameters)
#endif

/* clang-format off */

/* Digital ports --------------------------------------------------------- */

/* Reads a digital port into *value.
 * Fails (nonzero) for an unknown board or port. */
CBW32_BOARD_OP(cbReadPort, read_port, 12, int, (int board, int port, unsigned short *value), port)

/* Writes the 16-bit value to a digital port.
 * Fails for an unknown board or port, and for a port that is not an output. */
CBW32_BOARD_OP(cbWritePort, write_port, 12, int, (int board, int port, unsigned short value), port)

/* Sets a port's direction (CB_DIGITAL_OUT or CB_DIGITAL_IN).
 * Fails for an unknown board, port or direction code. */
CBW32_BOARD_OP(cbSetPortDirection, set_port_direction, 12, int, (int board, int port, int direction), port)

/* Analog point I/O -------------------------------------------------------- */

/* Takes one raw sample of an input channel into *value.
 * Fails for an unknown board, channel or range. */
CBW32_BOARD_OP(cbReadAnalog, read_analog, 16, int, (int board, int channel, int range, unsigned short *value),
               channel)

/* Sets an output channel to a raw count.
 * Fails for an unknown board, channel or range. */
CBW32_BOARD_OP(cbWriteAnalog, write_analog, 16, int, (int board, int channel, int range, unsigned short value),
               channel)

/* Converts a raw count to volts of the range.  Fails for an unknown range;
 * *volts is then left as it was. */
CBW32_BOARD_OP(cbToEngUnits, to_eng_units, 16, int, (int board, int range, unsigned short count, float *volts),
               arithmetic)

/* Converts volts to the nearest raw count of the range, clamped to the
 * converter's span.  Fails for an unknown range; *count is then left as it was. */
CBW32_BOARD_OP(cbFromEngUnits, from_eng_units, 16, int, (int board, int range, float volts, unsigned short *count),
               arithmetic)

/* Board utilities -------------------------------------------------------- */

/* Writes the text of a status code, terminated, into text (CB_ERRSTRLEN bytes).
 * An unknown code gets a text saying so. */
CBW32_OP(cbErrorText, error_text, 8, int, (int code, char *text))

/* Writes the board's name, terminated, into name (CB_BOARDNAMELEN bytes).
 * Fails for an unknown board; name is then an empty text. */
CBW32_BOARD_OP(cbBoardLabel, board_label, 8, int, (int board, char *name), board)

/* Scans ------------------------------------------------------------------ */

/* Loads a channel/gain queue of count entries.
 * Fails for an unknown board, channel or range, or a bad count. */
CBW32_BOARD_OP(cbSetGainQueue, set_gain_queue, 16, int,
               (int board, const short *channels, const short *ranges, int count), channel)

/* Scans channels low..high into the buffer named by handle, count samples
 * in all, at *rate scans per second; writes back the rate used.  Options
 * word 0 returns with the scan complete; 3 returns at once and goes on
 * filling the buffer as a ring.
 * Fails for an unknown board, channel, range, handle or options word, or a
 * count that does not fit the buffer. */
CBW32_BOARD_OP(cbReadAnalogScan, read_analog_scan, 32, int,
               (int board, int low, int high, int count, int *rate, int range, DaqHandle handle, int options),
               channel)

/* Allocates a buffer of count samples.  Returns its handle, 0 on failure. */
CBW32_OP(cbNewSampleBuffer, new_sample_buffer, 4, DaqHandle, (int count))

/* Copies count samples from position first of the buffer into out.
 * Fails, copying nothing, for an unknown handle or a range that leaves the buffer. */
CBW32_OP(cbWinBufToArray, win_buf_to_array, 16, int, (DaqHandle handle, unsigned short *out, int first, int count))

/* Reports the state (CB_RUNNING while it runs), total count and index of a background
 * operation.  Fails for an unknown board or function type. */
CBW32_BOARD_OP(cbGetIOStatus, get_io_status, 20, int, (int board, short *state, int *count, int *index, int function),
               board)

/* Stops a background operation.  Fails for an unknown board or function type. */
CBW32_BOARD_OP(cbStopIOBackground, stop_io_background, 8, int, (int board, int function), board)

/* clang-format on */

#undef CBW32_OP
#undef CBW32_BOARD_OP
