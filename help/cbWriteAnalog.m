% cbWriteAnalog  Set one analog output in volts.
%
%   [count, errorCode] = cbWriteAnalog(boardNum, channel, vrange, volts)
%
%   Converts volts (narrowed to single precision) to the raw count of the range
%   and writes it to output channel.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number
%     channel    output channel (simulated boards: 0 or 1)
%     vrange     range code
%     volts      the voltage; beyond the range it is clamped
%
%   Outputs (all set, whatever number the script asks for):
%     count      the raw count written, 0 to 65535
%     errorCode  the driver's status of the write: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbWriteAnalog: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     [count, status] = cbWriteAnalog(0, 0, 0, 2.5)   % 40960, 0
%
%   See also cbReadAnalog.
