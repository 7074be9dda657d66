function test_daqgate_record()
  % daqgate.record on the simulated board: a WAV file that Octave's own
  % audioread takes and simboard replays, every scan once; Ctrl-C leaves it
  % whole and the scan halted; a minute at 1 M samples/s in flat memory.
  simboard('signal', '0', '4', 'counter');
  simboard('signal', '0', '5', 'dc', '-7.5');
  counted = @(y) round((10 * y + 10) * 65536 / 20);

  % Two seconds, with the progress line and the summary.
  text = evalc('info = daqgate.record(''two.wav'', 0, 4:5, 10000, 2);');
  [y, fs] = audioread('two.wav');
  check_eq([info.Scans fs size(y)], [20000 10000 20000 2], 'record: the scans, the rate, a channel per input');
  check_eq(counted(y(:, 1)), mod(0:19999, 65536)', 'record: every scan once (the counter)');
  check_eq(10 * y(:, 2), repmat(-7.5, 20000, 1), 'record: volts / 10');
  assert(~isempty(regexp(text, 'daqgate.record: [0-9.]+ of 2 s, [0-9]+ scans at 10000 scans/s, none lost')) ...
         && ~isempty(strfind(text, 'daqgate.record: 20000 scans of 2 channels (2.000 s at 10000 scans/s) in two.wav')), ...
         'record: progress and summary: %s', text);
  check_raises(@() daqgate.record('two.wav', 0, 4, 1000, 1), 'daqgate:file', ...
               'daqgate.record: two.wav exists: pass ''Overwrite'', true to replace it', 'record: a file that exists');

  % Replayed on the simulated board: input 9 plays what input 1 (a 20 Hz
  % sine) gave, value for value.
  daqgate.record('sine.wav', 0, 1, 1000, 0.5, 0, 'Progress', false);
  simboard('signal', '0', '9', 'file', 'sine.wav', '--loop');
  recorded = round(10 * audioread('sine.wav') * 3276.8);
  played = round(daqgate.read(0, 9, 1000, 0.5) * 3276.8);
  shifts = arrayfun(@(s) isequal(played, circshift(recorded, -s)), 0:499);
  assert(any(shifts), 'simboard replays the file: the same counts, from some point of it');

  % Ctrl-C (SIGINT to a second Octave) during a record until Ctrl-C.
  pid = spawn(octave_peer(['unwind_protect, daqgate.record(''cut.wav'', 0, 4:5, 100000, Inf); ' ...
        'unwind_protect_cleanup, fid = fopen(''cut.state'', ''w''); fprintf(fid, ''%d'', cbQueryScanState(0, 1)); ' ...
        'fclose(fid); end_unwind_protect']), 'cut.out');
  wait_for('cut.wav');
  pause(1.5);
  kill(pid, 2);
  finished(pid);
  check_eq(fileread('cut.state'), '0', 'Ctrl-C: the scan halted');
  [y, fs] = audioread('cut.wav');
  file = dir('cut.wav');
  assert(rows(y) > 0 && file.bytes == 58 + 8 * rows(y), 'Ctrl-C: the file whole, %d scans in %d bytes', rows(y), file.bytes);
  check_eq(counted(y(:, 1)), mod(0:rows(y) - 1, 65536)', 'Ctrl-C: every scan up to it, once');
  assert(~isempty(strfind(fileread('cut.out'), sprintf('daqgate.record: %d scans of 2 channels', rows(y)))), ...
         'Ctrl-C: the summary: %s', fileread('cut.out'));

  % A minute at 1 M samples/s in a second Octave, its memory read from
  % /proc every second: flat after the first seconds.
  pid = spawn(octave_peer('daqgate.record(''minute.wav'', 0, 4:5, 500000, 60, 0, ''Ring'', 5);'), 'minute.out');
  own = [];
  while true
    pause(1);
    fid = fopen(sprintf('/proc/%d/statm', pid), 'r');
    if fid < 0, break; end
    fields = fscanf(fid, '%d');
    fclose(fid);
    if numel(fields) < 3 || fields(2) == 0, break; end   % gone, or a zombie
    own(end + 1) = (fields(2) - fields(3)) * 4 / 1024;   % MB: resident, less the pages of files
  end
  status = finished(pid);
  check_eq(status, 0, ['a minute at 1 M samples/s: ' fileread('minute.out')]);
  settled = own(min(10, end):end);
  printf('test_daqgate_record: a minute at 1 M samples/s, own resident memory from 10 s on: %.1f to %.1f MB (%d readings)\n', ...
         min(settled), max(settled), numel(settled));
  assert(max(settled) - settled(1) < 20, 'memory stays flat: %.1f MB grew to %.1f MB', settled(1), max(settled));
  info = audioinfo('minute.wav');
  check_eq([info.TotalSamples info.NumChannels info.SampleRate], [30e6 2 500000], 'a minute: the file tells its scans');
  wrong = 0;
  for first = 1:5e6:30e6
    y = audioread('minute.wav', [first first + 5e6 - 1]);
    wrong = wrong + ~isequal(counted(y(:, 1)), mod(first - 1:first + 5e6 - 2, 65536)') + any(10 * y(:, 2) ~= -7.5);
  end
  check_eq(wrong, 0, 'a minute: every scan once, in its column');
  delete('minute.wav');
end
