% cbReadAnalogBackgroundScan  Start a continuous background scan.
%
%   [rate, errorCode] = cbReadAnalogBackgroundScan(boardNum, [lowChan, highChan], bufferSize, sampleRate, vrange, memHandle)
%
%   Starts a scan of channels lowChan..highChan that goes on filling the buffer as a
%   ring of bufferSize samples after the call returns. Drain it with
%   cbFetchBackgroundData, watch it with cbQueryScanState, end it with
%   cbHaltBackground(boardNum, 1).
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum             board number
%     [lowChan, highChan]  first and last channel
%     bufferSize           ring size in samples; pass the same value to every fetch
%     sampleRate           scans per second asked for
%     vrange               range code
%     memHandle            a handle from cbNewSampleBuffer
%
%   Outputs (all set, whatever number the script asks for):
%     rate                 the rate the driver settled on
%     errorCode            the driver's status: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbReadAnalogBackgroundScan: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     h = cbNewSampleBuffer(8000);
%     [rate, status] = cbReadAnalogBackgroundScan(0, [4 7], 8000, 2000, 0, h)
%
%   See also cbFetchBackgroundData, cbQueryScanState, cbHaltBackground.
