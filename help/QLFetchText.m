% QLFetchText  Receive a line of text on ports 15, 16 and 12.
%
%   stringVal = QLFetchText(boardNum, timeOut, buffSize)
%
%   As cbFetchText with data on port 15, the writer's request on port 16 and the
%   acknowledge on port 12.
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
%   '*** QLFetchText: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     cbSetPortDirection(0, 12, 1);
%     line = QLFetchText(0, 5, 64)
%
%   See also cbFetchText, QLFetchTextD, QLPullChars.
