% cbNewSampleBuffer  Allocate a driver sample buffer.
%
%   memHandle = cbNewSampleBuffer(numPoints)
%
%   Asks the driver for a buffer of numPoints raw samples and returns its handle.
%   Keep the handle and pass it back unchanged: it may be negative. 0 means no
%   buffer was allocated. Buffers live as long as the process.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     numPoints  the buffer's size in samples
%
%   Outputs (all set, whatever number the script asks for):
%     memHandle  the buffer's handle, 0 on failure
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbNewSampleBuffer: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     h = cbNewSampleBuffer(4000);
%
%   See also cbReadAnalogScan, cbReadAnalogBackgroundScan, cbFetchBackgroundData.
