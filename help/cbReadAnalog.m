% cbReadAnalog  Read one analog input in volts.
%
%   [volts, errorCode] = cbReadAnalog(boardNum, channel, vrange)
%
%   Takes one sample of input channel on the range vrange and converts it to volts
%   (single precision).
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number
%     channel    input channel (simulated boards: 0 to 15)
%     vrange     range code (simulated: 0, 1, 2, 3 for +-10, 5, 2.5, 1 V; 100, 101 for 0..10, 0..5 V)
%
%   Outputs (all set, whatever number the script asks for):
%     volts      the sample in volts; meaningless when errorCode is not 0
%     errorCode  the driver's status of the read: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbReadAnalog: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     cbWriteAnalog(0, 0, 0, 2.5);
%     [v, status] = cbReadAnalog(0, 14, 0)   % input 14 loops back output 0: 2.5, 0
%
%   See also cbWriteAnalog, cbReadAnalogScan.

%!test
%! ## input 15 follows output 1
%! [count, status] = cbWriteAnalog (3, 1, 0, 2.5);
%! assert ([count, status], [40960, 0]);
%! assert (cbReadAnalog (3, 15, 0), 2.5);
