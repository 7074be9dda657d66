% cbSetPortDirection  Make a digital port an input or an output.
%
%   errorCode = cbSetPortDirection(boardNum, portNum, direction)
%
%   Sets the direction of digital port portNum of board boardNum.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number
%     portNum    port code
%     direction  the driver's direction code (simulated boards: 1 output, 2 input)
%
%   Outputs (all set, whatever number the script asks for):
%     errorCode  the driver's status: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbSetPortDirection: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     status = cbSetPortDirection(0, 10, 1)   % board 0 port 10 becomes an output
%
%   See also cbReadPort, cbWritePort.
