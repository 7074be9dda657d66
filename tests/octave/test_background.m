function test_background()
  % Background acquisition on the simulated board, end to end: every scan
  % fetched exactly once and in its rows through many wraps of the ring,
  % overflow, halt, and a scan outliving 'clear all'.
  LSB = 20 / 65536;
  B = 16000;                    % ring: 4000 scans of 4 channels, 200 ms
  simboard('signal', '0', '4', 'dc', '-2.5');
  simboard('signal', '0', '5', 'counter');
  simboard('signal', '0', '6', 'dc', '7.5');
  % channel 7 keeps its default sine: 1 V amplitude, offset 3.5 V
  handle = cbNewSampleBuffer(B);
  [rate, status] = cbReadAnalogBackgroundScan(0, [4 7], B, 20000, 0, handle);
  check_eq([rate status], [20000 0], 'the scan starts at the rate asked for');
  [state, count, index, status] = cbQueryScanState(0, 1);
  assert(state == 1 && status == 0, 'the scan runs after the call returned');

  % Fetch at irregular intervals, each wait well below a ring's time.  A
  % fetch that the machine keeps off the processor for longer than the ring
  % lasts meets the overflow, honestly: the scan starts again, and the
  % counts that assume none are not checked.
  rand('seed', 7);
  P = 0; Q = 0; scans = 0; lost = 0; misplaced = 0; fetches = 0; wraps = 0;
  overflows = 0; base = 0;
  t = tic;
  previous = toc(t);
  while toc(t) < 3
    this = toc(t);
    try
      [data, state, P2, Q2] = cbFetchBackgroundData(0, P, Q, B, [4 7], 0, handle);
    catch err
      late = toc(t) - previous;
      assert(~isempty(strfind(err.message, 'Buffer overflow')) && late >= 0.9 * B / 4 / 20000, ...
             '%s, %.3f s after the fetch before', err.message, late);
      overflows = overflows + 1;
      cbReadAnalogBackgroundScan(0, [4 7], B, 20000, 0, handle);
      P = 0; Q = 0; base = scans; previous = toc(t);
      continue;
    end
    previous = this;
    fetches = fetches + 1;
    if Q2 < Q, wraps = wraps + 1; end
    P = P2; Q = Q2;
    if ~isempty(data)
      counted = round((data(2, :) + 10) / LSB);
      lost = lost + any(counted ~= mod((scans - base):(scans - base) + columns(data) - 1, 65536));
      misplaced = misplaced + any(data(1, :) ~= -2.5) + any(data(3, :) ~= 7.5) ...
                  + any(data(4, :) < 2.5 - LSB | data(4, :) > 4.5 + LSB);
      scans = scans + columns(data);
    end
    check_eq(mod(P, 4), 0, 'the position stays on a scan boundary');
    pause(0.02 * rand());
  end
  if overflows == 0
    % 3 s at 20000 scans a second, the last fetch within a ring's time of
    % the end: at least 56000 scans, through 14 wraps.
    assert(scans > 40000, '%d scans fetched in %d calls over %d wraps', scans, fetches, wraps);
    assert(wraps > 10, 'the ring wrapped many times');
  else
    printf('test_background: %d fetches came later than the ring lasts; %d scans fetched\n', overflows, scans);
  end
  check_eq(lost, 0, 'no scan lost or repeated (the counter channel)');
  check_eq(misplaced, 0, 'every row holds its own channel');

  % The scan goes on across 'clear all' (which unloads the gateways): the
  % driver outlives them, in a second Octave process so that this one
  % keeps its counts.  Its ring lasts 10 s: longer than a busy machine
  % keeps the process off the processor between its two fetches.
  mexdir = fileparts(which('cbReadPort'));
  survivor = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
      'h = cbNewSampleBuffer(200000); cbReadAnalogBackgroundScan(3, [5 5], 200000, 20000, 0, h); ' ...
      'pause(0.05); [d, s, P, Q] = cbFetchBackgroundData(3, 0, 0, 200000, [5 5], 0, h); ' ...
      'setenv(''KEPT'', mat2str([P Q h numel(d)])); clear all; pause(0.05); ' ...
      'kept = str2num(getenv(''KEPT'')); ' ...
      '[d2, s2] = cbFetchBackgroundData(3, kept(1), kept(2), 200000, [5 5], 0, kept(3)); ' ...
      'k = round((d2 + 10) * 65536 / 20); ' ...
      'exit(~(s2 == 1 && numel(k) > 100 && isequal(k, kept(4):kept(4) + numel(k) - 1)))"'], mexdir);
  simboard('signal', '3', '5', 'counter');
  check_eq(system(survivor), 0, 'a scan runs on across clear all, no scan lost');

  % Halt: the scan stops, a fetch then gives 0-by-0.
  check_eq(cbHaltBackground(0, 1), 0, 'halt');
  [state, count1] = cbQueryScanState(0, 1);
  pause(0.05);
  [state, count2] = cbQueryScanState(0, 1);
  assert(state == 0 && count1 == count2, 'a halted scan stands still');
  [data, state] = cbFetchBackgroundData(0, 0, 0, B, [4 7], 0, cbNewSampleBuffer(1));
  assert(isequal(size(data), [0 0]) && state == 0, 'nothing to fetch from a halted scan');
  check_eq(cbHaltBackground(0, 2), 16, 'function type 2 names nothing on this board');

  % Overflow: a ring left alone too long.
  handle = cbNewSampleBuffer(1000);
  [rate, status] = cbReadAnalogBackgroundScan(0, [0 1], 1000, 10000, 0, handle);
  check_eq(status, 0, 'a second scan starts');
  [~, status] = cbReadAnalogBackgroundScan(0, [0 1], 1000, 10000, 0, handle);
  assert(status == 17 && ~isempty(strfind(cbErrorText(status), 'running')), 'one scan per board at a time');
  pause(0.2);
  check_error(@() cbFetchBackgroundData(0, 0, 0, 1000, [0 1], 0, handle), '*** Buffer overflow!!!', 'a ring left alone overflows');
  check_eq(cbQueryScanState(0, 1), 0, 'the overflow stopped the scan');

  % Another process sees no scan of this one's.
  [rate, status] = cbReadAnalogBackgroundScan(1, [0 0], 1000, 100, 0, handle);
  other = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                   '[s, c] = cbQueryScanState(1, 1); exit(s ~= 0 || c ~= 0)"'], mexdir);
  check_eq(system(other), 0, 'a scan belongs to the process that started it');
  cbHaltBackground(1, 1);

  % Leaving Octave with a scan running ends the process normally.
  leaving = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                     'h = cbNewSampleBuffer(4000); cbReadAnalogBackgroundScan(2, [0 3], 4000, 1000, 0, h); ' ...
                     'pause(0.1); cbFetchBackgroundData(2, 0, 0, 4000, [0 3], 0, h); clear all; exit(7)"'], mexdir);
  check_eq(system(leaving), 7, 'exit with a scan running, after clear all');
end
