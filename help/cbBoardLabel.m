% cbBoardLabel  The name of a board.
%
%   [boardName, errorCode] = cbBoardLabel(boardNum)
%
%   Returns the driver's name for board boardNum (at most 27 characters).
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number
%
%   Outputs (all set, whatever number the script asks for):
%     boardName  the board's name; meaningless when errorCode is not 0
%     errorCode  the driver's status: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbBoardLabel: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     [name, status] = cbBoardLabel(0)
%
%   See also cbErrorText.

%!test
%! [name, status] = cbBoardLabel (0);
%! assert (status, 0);
%! assert (ischar (name) && numel (name) <= 27);
