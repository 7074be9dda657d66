% cbReadPort  Read a digital port of the board.
%
%   [value, errorCode] = cbReadPort(boardNum, portNum)
%
%   Reads the 16 lines of digital port portNum of board boardNum.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number (simulated rig: the boards 'simboard show' lists)
%     portNum    port code (simulated boards: as 'simboard show' lists them)
%
%   Outputs (all set, whatever number the script asks for):
%     value      the port's lines as a number from 0 to 65535 (never negative);
%                0 when the read failed
%     errorCode  the driver's status: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbReadPort: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     cbSetPortDirection(0, 10, 1);       % board 0 port 10: output
%     cbWritePort(0, 10, 170);
%     [value, status] = cbReadPort(1, 10)  % 170, 0 across the default wiring
%
%   See also cbWritePort, cbSetPortDirection, cbErrorText.

%!test
%! ## board 0 port 30 drives board 1 port 30 on the default wiring
%! assert (cbSetPortDirection (0, 30, 1), 0);
%! assert (cbWritePort (0, 30, 513), 0);
%! [value, status] = cbReadPort (1, 30);
%! cbSetPortDirection (0, 30, 2);
%! assert ([value, status], [513, 0]);
%!error <cbReadPort: portNum must be a finite number> cbReadPort (0, NaN)
