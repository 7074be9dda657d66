% QLPullChars  Receive a line of text on ports 15, 16 and 12, keeping its line feed.
%
%   stringVal = QLPullChars(boardNum, timeOut, buffSize)
%
%   As QLFetchText, but a received line keeps its closing line feed (a line AB
%   comes back as ["AB" 10]; no pending request still gives ''), and it prints
%   'the value is {0}' for each byte it stores.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number
%     timeOut    seconds the wait for each byte may last; 0, negative or NaN for none
%     buffSize   first buffer size and growth step in bytes, at least 2
%
%   Outputs (all set, whatever number the script asks for):
%     stringVal  the line with its line feed, or '' when no request was up
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** QLPullChars: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     cbSetPortDirection(0, 12, 1);
%     line = QLPullChars(0, 5, 64)
%
%   See also QLFetchText, cbFetchText.
