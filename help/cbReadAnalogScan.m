% cbReadAnalogScan  Scan a range of analog inputs, in the foreground.
%
%   [data, rate, errorCode] = cbReadAnalogScan(boardNum, [lowChan, highChan], sampleCount, sampleRate, vrange, memHandle)
%
%   Scans channels lowChan..highChan into the buffer at sampleRate scans per second
%   and returns when done, with every sample in volts in one row, channels
%   interleaved (reshape(data, highChan - lowChan + 1, []) gives one column per
%   scan). When the scan fails, data is an empty 1-by-0 row.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum             board number
%     [lowChan, highChan]  first and last channel
%     sampleCount          samples in all, at most the buffer's size
%     sampleRate           scans per second asked for
%     vrange               range code
%     memHandle            a handle from cbNewSampleBuffer
%
%   Outputs (all set, whatever number the script asks for):
%     data                 1-by-sampleCount volts
%     rate                 the rate the driver used
%     errorCode            the driver's status: 0 on success
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbReadAnalogScan: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     h = cbNewSampleBuffer(4000);
%     [data, rate, status] = cbReadAnalogScan(0, [0 3], 4000, 1000, 0, h);
%     scans = reshape(data, 4, []);
%
%   See also cbNewSampleBuffer, cbReadAnalogBackgroundScan.
