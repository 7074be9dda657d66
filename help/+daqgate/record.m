function info = record(file, board, channels, rate, duration, range, varargin)
  % daqgate.record  Acquire into a WAV file as the scans come, with progress.
  %
  %   info = daqgate.record(file, board, channels, rate, duration)
  %   info = daqgate.record(file, board, channels, rate, duration, range, 'Ring', seconds, 'Overwrite', true)
  %
  %   Acquires CHANNELS of BOARD at RATE scans per second for DURATION seconds
  %   (Inf: until Ctrl-C) into FILE, writing the scans as they are fetched, so
  %   that memory stays flat however long it runs. A line in the command window
  %   shows the elapsed and total time, the scans, the rate and that none was
  %   lost, updated in place; a summary ends it. Ctrl-C ends the acquisition
  %   with the file whole (its header tells what it holds) and the scan halted.
  %
  %   The file is a WAV file of 32-bit floats: one channel per input, at the
  %   scan rate (rounded to a whole number of Hz in the header; info.Rate is
  %   the exact one), each sample the input's volts / 10, that is full scale
  %   +-10 V. audioread reads it in MATLAB and Octave (multiply by 10 for
  %   volts), sound tools take it as it is, and 'simboard signal BOARD CHANNEL
  %   file FILE' plays its first channel back into the simulated board, so an
  %   acquisition on a real board can be replayed on the simulated one.
  %   Floats keep every count of a 16-bit converter exact, and the header's
  %   sizes are brought up to date as it goes. A WAV file holds at most 4 GiB:
  %   a duration beyond is refused, and a run until Ctrl-C ends there.
  %
  %   range        the driver's range code, default 0 (-10..+10 V)
  %   'Ring'       seconds the ring holds, default 2 (see daqgate.start)
  %   'Overwrite'  true to replace an existing FILE; by default it is refused
  %   'Progress'   false for no progress line or summary
  %
  %   info: File, Scans (in the file), Seconds, Rate, Channels.
  %
  %   Errors, by identifier: daqgate:argument, daqgate:driver,
  %   daqgate:overflow (as daqgate.fetch: the file holds the scans before),
  %   daqgate:file (the file cannot be written).
  %
  %   Example:
  %     info = daqgate.record('run.wav', 0, 0:3, 10000, 2);
  %     [y, fs] = audioread('run.wav');   % 20000-by-4, fs 10000
  %     volts = 10 * y;
  %
  %   See also daqgate.start, audioread.
  me = 'daqgate.record';
  if nargin < 5
    error('daqgate:argument', '%s', 'daqgate.record: usage: daqgate.record(file, board, channels, rate, duration, range)');
  end
  if nargin < 6
    range = [];
  end
  if ~ischar(file) || isempty(file) || size(file, 1) ~= 1
    daqgate.Acquisition.fail(me, 'argument', 'file must be a file name');
  end
  [board, pair, rate, range] = daqgate.Acquisition.scan(me, board, channels, rate, range);
  duration = daqgate.Acquisition.positive(me, duration, 'duration', true);
  options = daqgate.Acquisition.options(me, struct('Ring', 2, 'Overwrite', false, 'Progress', true), varargin);
  n = pair(2) - pair(1) + 1;
  header = 58;                                       % RIFF, fmt (18), fact and data chunk heads
  most = floor((2^32 - 1 - (header - 8)) / (4 * n)); % scans a WAV file can tell
  total = round(duration * rate);
  if total > most && isfinite(duration)
    daqgate.Acquisition.fail(me, 'argument', sprintf(['duration: %g s of %d channels at %g scans/s is ' ...
      'more than a WAV file holds (%d scans)'], duration, n, rate, most));
  end
  if exist(file, 'file') && ~isequal(options.Overwrite, true)
    daqgate.Acquisition.fail(me, 'file', sprintf('%s exists: pass ''Overwrite'', true to replace it', file));
  end
  % The scan first: a board that refuses it leaves the file alone.  Should
  % the file then fail, acq goes with this function, and its scan with it.
  acq = daqgate.start(board, pair, rate, range, 'Ring', options.Ring);
  [fid, why] = fopen(file, 'w', 'ieee-le');
  if fid < 0
    daqgate.Acquisition.fail(me, 'file', sprintf('%s cannot be written: %s', file, why));
  end
  rate = acq.Rate;
  total = min(round(duration * rate), most);
  write_header(fid, n, rate, 0);
  shown = struct('file', file, 'n', n, 'rate', rate, 'duration', duration, 'progress', ...
                 isequal(options.Progress, true), 'clock', tic, 'width', 0);
  % However the loop ends (its end, an error, Ctrl-C): the scan halted, the
  % header's sizes right, the file closed, the summary shown.
  finish = onCleanup(@() finished(acq, fid, shown));
  written = 0;
  next = 0;
  while written < total
    pause(0.05);                                   % where Ctrl-C is heard
    data = daqgate.fetch(acq);
    if isempty(data) && ~is_running(acq)
      daqgate.Acquisition.fail(me, 'driver', sprintf('board %d: the scan stopped after %d scans', board, written));
    end
    take = min(size(data, 1), total - written);
    if fwrite(fid, data(1:take, :).' / 10, 'float32') ~= take * n
      daqgate.Acquisition.fail(me, 'file', sprintf('%s: the disk took only part of the scans', file));
    end
    written = written + take;
    if toc(shown.clock) >= next
      write_header(fid, n, rate, written);
      shown.width = progress(shown, written, shown.width);
      next = toc(shown.clock) + 0.25;
    end
  end
  info = struct('File', file, 'Scans', written, 'Seconds', written / rate, 'Rate', rate, 'Channels', pair);
end

function yes = is_running(acq)
  s = daqgate.state(acq);
  yes = s.Running;
end

function write_header(fid, n, rate, scans)
  % The header, with the sizes of SCANS scans; the file position is kept.
  at = ftell(fid);
  bytes = scans * n * 4;
  fseek(fid, 0, 'bof');
  fwrite(fid, 'RIFF', 'uchar');  fwrite(fid, 50 + bytes, 'uint32');  fwrite(fid, 'WAVE', 'uchar');
  fwrite(fid, 'fmt ', 'uchar');  fwrite(fid, 18, 'uint32');
  fwrite(fid, [3 n], 'uint16');                        % IEEE float, channels
  fwrite(fid, [round(rate) round(rate) * n * 4], 'uint32');
  fwrite(fid, [n * 4 32 0], 'uint16');                 % block, bits, no extension
  fwrite(fid, 'fact', 'uchar');  fwrite(fid, [4 scans], 'uint32');
  fwrite(fid, 'data', 'uchar');  fwrite(fid, bytes, 'uint32');
  if at > 0
    fseek(fid, at, 'bof');
  end
end

function width = progress(shown, scans, width)
  % The progress line, written over the one before.
  if ~shown.progress
    return;
  end
  line = sprintf('daqgate.record: %.1f of %g s, %d scans at %g scans/s, none lost', ...
    toc(shown.clock), shown.duration, scans, shown.rate);
  fprintf('%s%s', repmat(sprintf('\b'), 1, width), line);
  width = numel(line);
end

function finished(acq, fid, shown)
  % Ends the log whatever ended it.
  acq.stop();
  scans = floor((ftell(fid) - 58) / (4 * shown.n));
  write_header(fid, shown.n, shown.rate, scans);
  fclose(fid);
  if shown.progress
    plural = 's';
    if shown.n == 1, plural = ''; end
    fprintf('\ndaqgate.record: %d scans of %d channel%s (%.3f s at %g scans/s) in %s\n', ...
      scans, shown.n, plural, scans / shown.rate, shown.rate, shown.file);
  end
end

%!test
%! file = [tempname() '.wav'];
%! cbWriteAnalog (3, 0, 0, 2.5);                        % input 14 follows output 0
%! info = daqgate.record (file, 3, 13:14, 1000, 0.2, 0, 'Progress', false);
%! [y, fs] = audioread (file);
%! delete (file);
%! assert ([info.Scans fs], [200 1000]);
%! assert (10 * y, repmat ([0 2.5], 200, 1));
