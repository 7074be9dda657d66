% cbQueryScanState  The status, count and index of a background operation.
%
%   [state, count, index, errorCode] = cbQueryScanState(boardNum, functionType)
%
%   Asks the driver how a background operation stands; function type 1 is the
%   analog input background scan.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum      board number
%     functionType  1 for the analog input background scan
%
%   Outputs (all set, whatever number the script asks for):
%     state         1 while it runs
%     count         samples stored since it started (32-bit, wraps)
%     index         ring position one past the newest sample
%     errorCode     the driver's status of the query
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbQueryScanState: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     [state, count, index] = cbQueryScanState(0, 1)
%
%   See also cbFetchBackgroundData, cbHaltBackground.
