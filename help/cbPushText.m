% cbPushText  Send a line of text over the handshake link.
%
%   numBytesWritten = cbPushText(boardNum, stringTowrite, timeOut)
%
%   Sends the bytes of stringTowrite to the reading end, one byte per four-phase
%   handshake: the byte on data port 10, the request on sender bit port 11, the
%   acknowledge on receiver bit port 14. End the text with a line feed to end the
%   reader's line. Ports 10 and 11 must be outputs, port 14 an input.
%   Errors (each a '*** ' message): a failed flag access, or a wait longer than
%   timeOut. A failure leaves the lines as they are.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum         board number
%     stringTowrite    a character array; it ends at its first zero byte
%     timeOut          seconds each wait may last; 0, negative or NaN for no limit
%
%   Outputs (all set, whatever number the script asks for):
%     numBytesWritten  the number of bytes sent: the whole text
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbPushText: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     cbSetPortDirection(1, 10, 1); cbSetPortDirection(1, 11, 1);
%     n = cbPushText(1, sprintf('hello\n'), 5)
%
%   See also QLPushText, cbFetchText.
