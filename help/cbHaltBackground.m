% cbHaltBackground  Stop a background operation.
%
%   errorCode = cbHaltBackground(boardNum, functionType)
%
%   Stops a background operation; function type 1 is the analog input background
%   scan.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum      board number
%     functionType  1 for the analog input background scan
%
%   Outputs (all set, whatever number the script asks for):
%     errorCode     the driver's status: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbHaltBackground: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     status = cbHaltBackground(0, 1)
%
%   See also cbReadAnalogBackgroundScan, cbQueryScanState.
