% cbSetGainQueue  Load a channel/gain queue.
%
%   errorCode = cbSetGainQueue(boardNum, chanArray, gainArray, numChans)
%
%   Hands the driver a queue of numChans input channels, each with its range code.
%   The lists' length is their number of columns; they must be equally long, and
%   numChans may not exceed it ('*** ' errors otherwise).
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum   board number
%     chanArray  row of channels
%     gainArray  row of range codes
%     numChans   queue length
%
%   Outputs (all set, whatever number the script asks for):
%     errorCode  the driver's status: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbSetGainQueue: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     status = cbSetGainQueue(0, [0 1 2], [0 1 100], 3)
%
%   See also cbReadAnalogScan.
