% QLFetchTextD  Receive a line of text on ports 14, 15 and 10, printing each phase.
%
%   stringVal = QLFetchTextD(boardNum, timeOut, buffSize)
%
%   As cbFetchText with data on port 14, the writer's request on port 15 and the
%   acknowledge on port 10, printing a line for each phase of each handshake.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number
%     timeOut    seconds the wait for each byte may last; 0, negative or NaN for none
%     buffSize   first buffer size and growth step in bytes, at least 2
%
%   Outputs (all set, whatever number the script asks for):
%     stringVal  the line without its line feed, or '' when no request was up
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** QLFetchTextD: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     cbSetPortDirection(0, 10, 1);
%     line = QLFetchTextD(0, 5, 64)
%
%   See also cbFetchText, QLFetchText.
