function [data, t, rate] = read(board, channels, rate, duration, range, varargin)
  % daqgate.read  Acquire channels for a time, in the foreground.
  %
  %   [data, t, rate] = daqgate.read(board, channels, rate, duration)
  %   [data, t, rate] = daqgate.read(board, channels, rate, duration, range)
  %   [data, t, rate] = daqgate.read(board, channels, rate, [], range, 'Scans', n)
  %
  %   Scans the analog inputs CHANNELS of BOARD at RATE scans per second for
  %   DURATION seconds (round(duration * rate) scans; or exactly n scans) and
  %   returns, when the last scan is in:
  %     data   scans-by-channels volts: a column per channel, a row per scan
  %     t      a column of the scans' times in seconds from the first scan
  %     rate   the rate the driver settled on (its clock divides), which t uses
  %
  %   channels  one channel, [lowChan highChan], or consecutive channels (4:7)
  %   range     the driver's range code, default 0 (-10..+10 V)
  %
  %   The call blocks for the whole duration, as the driver's foreground scan
  %   does, and hears no Ctrl-C meanwhile; for long acquisitions use
  %   daqgate.start or daqgate.record.
  %
  %   Errors, by identifier:
  %     daqgate:argument  an argument out of its domain (the message names it)
  %     daqgate:driver    a driver status other than 0, in cbErrorText's words
  %                       with the status: 'board 0: ... (status 4)'
  %
  %   Example:
  %     [data, t, rate] = daqgate.read(0, [0 3], 1000, 0.5);
  %     plot(t, data); xlabel('s'); ylabel('V');
  %
  %   See also daqgate.start, daqgate.record, cbReadAnalogScan.

  me = 'daqgate.read';
  if nargin < 4
    error('daqgate:argument', '%s', 'daqgate.read: usage: daqgate.read(board, channels, rate, duration, range)');
  end
  if nargin < 5
    range = [];
  end
  [board, pair, rate, range] = daqgate.Acquisition.scan(me, board, channels, rate, range);
  options = daqgate.Acquisition.options(me, struct('Scans', []), varargin);
  if isempty(options.Scans)
    duration = daqgate.Acquisition.positive(me, duration, 'duration');
    scans = max(1, round(duration * rate));
  else
    scans = daqgate.Acquisition.integer(me, options.Scans, 'Scans', 1);
  end
  n = pair(2) - pair(1) + 1;
  samples = scans * n;
  if samples > 2^31 - 1
    daqgate.Acquisition.fail(me, 'argument', sprintf( ...
      'duration: %d scans of %d channels is more than the 2^31 - 1 samples of one scan', scans, n));
  end
  handle = daqgate.buffer(samples);
  [raw, rate, status] = cbReadAnalogScan(board, pair, samples, rate, range, handle);
  daqgate.buffer('release', handle);
  if status ~= 0
    daqgate.Acquisition.driver_failed(me, board, status);
  end
  data = reshape(raw, n, scans).';
  t = (0:scans - 1).' / rate;
end

%!test
%! [data, t, rate] = daqgate.read (3, [12 13], 1000, 0.05);
%! assert (size (data), [50 2]);
%! assert (data, zeros (50, 2));          % inputs 12 and 13 of the simulated board: 0 V
%! assert (t, (0:49)' / 1000);
%! assert (rate, 1000);
%!error <channels must be one channel> daqgate.read (3, [5 4], 1000, 0.1)
%!error <board 3: .* \(status [0-9]+\)> daqgate.read (3, 99, 1000, 0.1)
