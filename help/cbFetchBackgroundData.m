% cbFetchBackgroundData  Fetch the scans a background scan stored since the previous fetch.
%
%   [data, state, count, index] = cbFetchBackgroundData(boardNum, previousCount, previousIndex, bufferSize, [lowChan,highChan], vrange, memHandle)
%
%   Returns the whole scans stored since the position previousCount/previousIndex,
%   one row per channel, one column per scan, oldest first, and the position just
%   after them: pass count and index to the next fetch (0 and 0 the first time) and
%   every scan arrives exactly once. If more than a ring's worth arrived since the
%   previous fetch, or arrives while it copies, the scan is stopped and
%   '*** Buffer overflow!!!' is raised. A stopped scan gives a 0-by-0 matrix.
%   If the driver's status cannot be read after the copy, nothing is returned
%   and an error says to fetch again from the same previousCount and
%   previousIndex; the scan runs on. Counts are 32-bit and wrap after 2^31
%   samples; the fetch counts across the wrap. Refused with a '*** ' error:
%   highChan below lowChan, a bufferSize below 1, a previousIndex outside
%   0..bufferSize-1, a previousCount ahead of the scan's count, or a count and
%   index that do not fit the scan's.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     boardNum                      board number
%     previousCount, previousIndex  count and index from the previous fetch
%     bufferSize                    the ring size given to cbReadAnalogBackgroundScan
%     [lowChan,highChan]            the scan's channels
%     vrange                        range code
%     memHandle                     the scan's buffer
%
%   Outputs (all set, whatever number the script asks for):
%     data                          channels-by-scans volts
%     state                         1 while the scan runs
%     count, index                  the position to pass to the next fetch
%
%   A driver status is a result, not an error: look at it, and turn it into
%   text with cbErrorText. Arguments the driver cannot be given raise a
%   '*** cbFetchBackgroundData: ...' error; a wrong argument count raises the usage text.
%
%   Example:
%     count = 0; index = 0;
%     while true
%       [data, state, count, index] = cbFetchBackgroundData(0, count, index, 8000, [4 7], 0, h);
%       if state ~= 1, break; end
%     end
%
%   See also cbReadAnalogBackgroundScan, cbQueryScanState, cbHaltBackground.

%!test
%! h = cbNewSampleBuffer (400);
%! [rate, status] = cbReadAnalogBackgroundScan (3, [0 3], 400, 1000, 0, h);
%! assert (status, 0);
%! pause (0.05);
%! [data, state, count, index] = cbFetchBackgroundData (3, 0, 0, 400, [0 3], 0, h);
%! cbHaltBackground (3, 1);
%! assert (state, 1);
%! assert (rows (data), 4);
%! assert (count, 4 * columns (data));
