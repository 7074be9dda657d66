% QLPushText  Send a line of text over the handshake link, clearing the data port.
%
%   numBytesWritten = QLPushText(boardNum, stringTowrite, timeOut)
%
%   As cbPushText (same ports 10, 11 and 14, same errors), and writes 0 to the data
%   port after each byte.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum         board number
%     stringTowrite    a character array
%     timeOut          seconds each wait may last; 0, negative or NaN for no limit
%
%   Outputs (all set, whatever number the script asks for):
%     numBytesWritten  the number of bytes sent
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** QLPushText: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     n = QLPushText(1, sprintf('hello\n'), 5)
%
%   See also cbPushText, QLFetchText.
