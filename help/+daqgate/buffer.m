function handle = buffer(samples, handle)
  % daqgate.buffer  A driver sample buffer, reused rather than allocated anew.
  %
  %   handle = daqgate.buffer(samples)
  %   daqgate.buffer('release', handle)
  %
  %   The driver gives a process buffers (cbNewSampleBuffer) but takes none
  %   back: each lives as long as the process. daqgate.read and daqgate.start
  %   therefore take their buffers here: a buffer of at least SAMPLES samples
  %   that no one holds, or a new one of the next power of two, so that a
  %   script reading again and again allocates a few buffers, not one per read.
  %   Release a buffer when the driver no longer writes into it: after a
  %   foreground scan, or once a background scan is halted.
  %
  %   A driver that allocates nothing raises daqgate:driver.
  %
  %   Example:
  %     h = daqgate.buffer(4000);
  %     [data, rate, status] = cbReadAnalogScan(0, [0 3], 4000, 1000, 0, h);
  %     daqgate.buffer('release', h);
  %
  %   See also cbNewSampleBuffer, daqgate.read, daqgate.start.
  persistent pool   % one row per buffer: handle, samples, held
  if isempty(pool)
    mlock;          % 'clear all' must not forget which buffers are held
    pool = zeros(0, 3);
  end
  if ischar(samples)
    if ~strcmp(samples, 'release') || nargin < 2
      error('daqgate:argument', '%s', 'daqgate.buffer: call it as daqgate.buffer(samples) or daqgate.buffer(''release'', handle)');
    end
    pool(pool(:, 1) == handle, 3) = 0;
    return;
  end
  samples = daqgate.Acquisition.integer('daqgate.buffer', samples, 'samples', 1);
  free = find(pool(:, 3) == 0 & pool(:, 2) >= samples);
  if ~isempty(free)
    [~, smallest] = min(pool(free, 2));
    row = free(smallest);
  else
    room = min(2^nextpow2(samples), 2^31 - 1);
    handle = cbNewSampleBuffer(room);
    if handle == 0
      error('daqgate:driver', 'daqgate.buffer: the driver allocated no buffer of %d samples', room);
    end
    pool(end + 1, :) = [handle room 0];
    row = size(pool, 1);
  end
  pool(row, 3) = 1;
  handle = pool(row, 1);
end

%!test
%! h1 = daqgate.buffer (1000);
%! daqgate.buffer ('release', h1);
%! h2 = daqgate.buffer (900);              % the same buffer again: 1024 samples
%! h3 = daqgate.buffer (900);              % held: another one
%! assert ([h2 == h1, h3 ~= h1], [true true]);
%! daqgate.buffer ('release', h2);
%! daqgate.buffer ('release', h3);
