% cbWritePort  Write a value to a digital port.
%
%   errorCode = cbWritePort(boardNum, portNum, value)
%
%   Writes value to digital port portNum of board boardNum; the port must be an
%   output. Only the low 16 bits of the value go out: -1 writes 65535, 65536 writes 0.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number
%     portNum    port code
%     value      the value, truncated toward zero
%
%   Outputs (all set, whatever number the script asks for):
%     errorCode  the driver's status: 0 on success (writing an input port fails)
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbWritePort: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     cbSetPortDirection(0, 10, 1);
%     status = cbWritePort(0, 10, hex2dec('1234'))
%
%   See also cbReadPort, cbSetPortDirection, cbErrorText.
