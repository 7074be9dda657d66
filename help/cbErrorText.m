% cbErrorText  The text of a driver status code.
%
%   errorString = cbErrorText(errorCode)
%
%   Returns the driver's text for a status code that another gateway returned.
%   The text comes back as the driver wrote it.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     errorCode    a status code (0 is success)
%
%   Outputs (all set, whatever number the script asks for):
%     errorString  the driver's text; an unknown code gets a text saying so
%
%   Example:
%     status = cbWritePort(0, 10, 5);   % port 10 is still an input
%     disp(cbErrorText(status))
%
%   See also cbBoardLabel.

%!assert (ischar (cbErrorText (0)))
%!assert (! strcmp (cbErrorText (0), cbErrorText (1)))
%!error <Usage: \[errorString\] = cbErrorText\(errorCode\)> cbErrorText ()
