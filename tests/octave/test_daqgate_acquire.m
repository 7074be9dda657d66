function test_daqgate_acquire()
  % daqgate.read, start/fetch/state/stop on the simulated board: the counter
  % signal says that every scan comes once, in its column, at its time.
  simboard('signal', '0', '4', 'dc', '-2.5');
  simboard('signal', '0', '5', 'counter');
  simboard('signal', '0', '6', 'dc', '7.5');
  counted = @(v) round((v + 10) * 65536 / 20);

  % A foreground read: scans by channels, times from the settled rate.
  [data, t, rate] = daqgate.read(0, 4:6, 10000, 0.1);
  check_eq(size(data), [1000 3], 'read: a row per scan, a column per channel');
  check_eq(counted(data(:, 2)), (0:999)', 'read: the counter, every scan');
  check_eq(data(:, [1 3]), repmat([-2.5 7.5], 1000, 1), 'read: the other columns');
  check_eq(t, (0:999)' / rate, 'read: times from the first scan');
  assert(abs(rate - 10000) < 10, 'read: the settled rate %g', rate);
  check_eq(size(daqgate.read(0, 5, 1000, [], 0, 'Scans', 7)), [7 1], 'read: a number of scans');
  [~, status] = cbReadAnalog(0, 16, 0);
  check_raises(@() daqgate.read(0, 16, 1000, 0.1), 'daqgate:driver', ...
    sprintf('daqgate.read: board 0: %s (status %d)', cbErrorText(status), status), 'read: a driver status');
  check_raises(@() daqgate.read(0, [5 4], 1000, 0.1), 'daqgate:argument', ...
    'daqgate.read: channels must be one channel, [lowChan highChan] with lowChan <= highChan, or consecutive channels', ...
    'read: channels');
  check_raises(@() daqgate.read(0, 5, -1, 0.1), 'daqgate:argument', 'daqgate.read: rate must be a positive number', 'read: rate');

  % A continuous acquisition across many wraps of its ring: every scan
  % once, at its time, whatever the intervals between fetches.
  acq = daqgate.start(0, 4:7, 25000, 0, 'Ring', 0.5);
  rand('seed', 3);
  scans = 0; wrong = 0; fetches = 0;
  clock = tic;
  while toc(clock) < 3
    [data, t] = daqgate.fetch(acq);
    k = (scans:scans + rows(data) - 1)';
    wrong = wrong + ~isequal(counted(data(:, 2)), mod(k, 65536)) + ~isequal(t, k / acq.Rate) ...
            + any(data(:, 1) ~= -2.5) + any(data(:, 3) ~= 7.5);
    scans = scans + rows(data);
    fetches = fetches + 1;
    pause(0.1 * rand());
  end
  s = daqgate.state(acq);
  check_eq(wrong, 0, 'fetch: every scan once, in its column, at its time');
  check_eq([s.Running s.Scans], [true scans], 'state: running, the scans fetched');
  assert(scans > 4 * acq.RingSeconds * acq.Rate, '%d scans in %d fetches: the ring wrapped', scans, fetches);
  [data, t] = daqgate.stop(acq);
  check_eq(t(1:min(1, end)), scans(1:min(1, rows(t))) / acq.Rate, 'stop: the last scans follow on');
  check_eq(cbQueryScanState(0, 1), 0, 'stop halts the scan');
  check_eq(size(daqgate.fetch(acq)), [0 4], 'nothing to fetch once stopped');

  % As fast as this machine drains it: 10 M samples a second.  A machine
  % too busy to keep up gets the overflow, which must say so.
  simboard('signal', '0', '4', 'counter');
  acq = daqgate.start(0, 4:7, 2.5e6, 0, 'Ring', 2);
  scans = 0; wrong = 0;
  try
    while scans < 1.2 * acq.RingSeconds * acq.Rate   % past the ring's wrap, or the overflow
      [data, t] = daqgate.fetch(acq);
      k = (scans:scans + rows(data) - 1)';
      wrong = wrong + ~isequal(counted(data(:, 1)), mod(k, 65536)) + ~isequal(t, k / acq.Rate);
      scans = scans + rows(data);
    end
    printf('test_daqgate_acquire: %d scans of 4 channels at %g scans/s, through %.1f rings\n', ...
           scans, acq.Rate, scans / acq.Rate / acq.RingSeconds);
    daqgate.stop(acq);
  catch err
    check_eq(err.identifier, 'daqgate:overflow', ['10 M samples/s: ' err.message]);
    printf('test_daqgate_acquire: this machine did not keep up at 10 M samples/s: %s\n', err.message);
  end
  check_eq(wrong, 0, '10 M samples/s: every scan once, at its time');
  check_eq(cbQueryScanState(0, 1), 0, '10 M samples/s: the scan ends halted');

  % Overflow: a script away three times as long as the ring holds.
  acq = daqgate.start(0, 0:1, 10000, 0, 'Ring', 0.1);
  pause(0.3);
  err = struct('identifier', 'none', 'message', 'no error');
  try
    daqgate.fetch(acq);
  catch err
  end
  check_eq(err.identifier, 'daqgate:overflow', ['overflow: its identifier: ' err.message]);
  figures = regexp(err.message, ['halted: ([0-9.]+) s passed from the previous fetch to this one, and the ring holds 0.100 s ' ...
                    '\(1000 scans at 10000 scans/s\); a ring of ([0-9.]+) s'], 'tokens', 'once');
  assert(numel(figures) == 2 && str2double(figures{1}) >= 0.3 && str2double(figures{1}) < 30 ...
         && str2double(figures{2}) == ceil(20 * str2double(figures{1})) / 10, 'overflow: %s', err.message);
  check_eq(cbQueryScanState(0, 1), 0, 'overflow: the scan halted');
  check_eq(getfield(daqgate.state(acq), 'Running'), false, 'overflow: state says so');
  check_raises(@() daqgate.start(0, 0, 1000, 0, 'Ring', 0), 'daqgate:argument', ...
               'daqgate.start: Ring must be a positive number', 'start: Ring');
  acq = daqgate.start(0, 0, 1000);
  [~, status] = cbReadAnalogBackgroundScan(0, [0 0], 10, 1000, 0, cbNewSampleBuffer(10));
  check_raises(@() daqgate.start(0, 0, 1000), 'daqgate:driver', ...
               sprintf('daqgate.start: board 0: %s (status %d)', cbErrorText(status), status), 'start: one scan per board');
  clear acq
  check_eq(cbQueryScanState(0, 1), 0, 'clearing the acquisition halts its scan');

  % Ctrl-C in a function's fetch loop (SIGINT to a second Octave): its
  % acquisition goes, and with it the scan.
  pid = spawn(octave_peer(['addpath(''' fileparts(mfilename('fullpath')) '''); ' ...
        'unwind_protect, fetch_forever(''loop.ready''); unwind_protect_cleanup, ' ...
        'fid = fopen(''loop.state'', ''w''); fprintf(fid, ''%d'', cbQueryScanState(0, 1)); fclose(fid); ' ...
        'end_unwind_protect']), 'loop.out');
  wait_for('loop.ready');
  pause(0.5);
  kill(pid, 2);
  finished(pid);
  check_eq(fileread('loop.state'), '0', ['Ctrl-C in a fetch loop leaves the scan halted: ' fileread('loop.out')]);
end
