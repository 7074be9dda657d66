% cbFetchText  Receive a line of text over the handshake link.
%
%   stringVal = cbFetchText(boardNum, timeOut, buffSize)
%
%   Takes a line if the writer's request is up when called, and returns '' at once
%   otherwise, so a script calls it in a loop. Data on port 10, the writer's
%   request on port 11, the acknowledge on port 14 (an output). The closing line
%   feed is not returned; a zero byte ends the text early. Errors (each a '*** '
%   message): a failed port access, reader wait 1 longer than timeOut, or the
%   writer keeping its request up more than 1 s (when timeOut > 0).
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
%   '*** cbFetchText: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     cbSetPortDirection(0, 14, 1);
%     line = '';
%     while isempty(line), line = cbFetchText(0, 5, 64); end
%
%   See also QLFetchText, QLFetchTextD, QLPullChars, cbPushText.
