function demo_session()
  % A short session on the simulated board: what a script sees of the
  % boards, their digital ports across the wiring, and the example gateway.
  OUTPUT = 1; INPUT = 2;

  printf('== Boards\n');
  for board = 0:3
    [name, status] = cbBoardLabel(board);
    printf('  board %d: %s (status %d)\n', board, name, status);
  end
  [name, status] = cbBoardLabel(9);
  printf('  board 9: status %d, "%s"\n', status, cbErrorText(status));

  printf('\n== Error texts\n');
  for code = [0 2 4 777]
    printf('  %3d: %s\n', code, cbErrorText(code));
  end

  printf('\n== Digital ports: board 0 drives board 1 through the wiring\n');
  status = cbWritePort(0, 10, 170);
  printf('  write 0.10 while it is an input: status %d, "%s"\n', status, cbErrorText(status));
  printf('  make 0.10 an output: status %d\n', cbSetPortDirection(0, 10, OUTPUT));
  printf('  make 1.10 an input:  status %d\n', cbSetPortDirection(1, 10, INPUT));
  for value = [170 65535 hex2dec('1234')]
    cbWritePort(0, 10, value);
    [seen, status] = cbReadPort(1, 10);
    printf('  0.10 <- %5d (0x%04X)   1.10 reads %5d (0x%04X), status %d\n', value, value, seen, seen, status);
  end
  printf('  board 2 port 10, on another pair of boards, reads %d\n', cbReadPort(2, 10));
  try
    cbReadPort(0);
  catch err
    printf('  a call with one argument raises: %s\n', err.message);
  end

  printf('\n== The rig as simboard shows it\n');
  [~, shown] = system(sprintf('%s show', fullfile(fileparts(which('cbReadPort')), '..', 'bin', 'simboard')));
  lines = strsplit(shown, "\n");
  printf('  %s\n', lines{[1:4 end-3:end-1]});

  printf('\n== Text link: a second Octave process writes a line from board 1\n');
  mexdir = fileparts(which('cbReadPort'));
  simboard = fullfile(mexdir, '..', 'bin', 'simboard');
  system([simboard ' reset']);
  cbSetPortDirection(0, 14, OUTPUT);    % this end's read bit
  writer = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                    'cbSetPortDirection(1, 10, 1); cbSetPortDirection(1, 11, 1); ' ...
                    'n = cbPushText(1, sprintf(''Hello from board 1\\n''), 10); ' ...
                    'printf(''  writer: cbPushText sent %%d characters\\n'', n);" 2>/dev/null'], mexdir);
  pid = system(writer, false, 'async');
  line = ''; calls = 0; start = tic;
  while isempty(line) && toc(start) < 20
    line = cbFetchText(0, 5, 16);     % returns '' at once while no request is up
    calls = calls + 1;
  end
  waitpid(pid);
  printf('  reader: cbFetchText returned "%s" after %d calls\n', line, calls);

  printf('\n== Text link: simboard speaks the protocol as a peer\n');
  system([simboard ' reset']);
  cbSetPortDirection(0, 12, OUTPUT);
  pid = system([simboard ' send 1 --data 15 --sender 16 --receiver 12 "caf\\xe9 \\xb5V\\n"'], false, 'async');
  line = '';
  while isempty(line)
    line = QLFetchText(0, 5, 16);
  end
  waitpid(pid);
  printf('  QLFetchText on ports 15/16/12 got bytes [%s]\n', num2str(double(line)));

  printf('\n== The test bench: a fault injected into the driver, met by a script\n');
  system([simboard ' reset']);
  cbSetPortDirection(0, 14, OUTPUT);
  pid = system([simboard ' send 1 "ok\\n" --timeout 2 2>/dev/null'], false, 'async');
  while cbReadPort(0, 11) == 0, end     % the peer's request is up
  system([simboard ' fault 0 cbReadPort 5 --port 11 --after 2']);
  printf('  simboard fault 0 cbReadPort 5 --port 11 --after 2   (the third read of the sender bit fails)\n');
  try
    cbFetchText(0, 5, 16);
  catch err
    printf('  cbFetchText raises: %s\n', err.message);
  end
  kill(pid, 9); waitpid(pid);

  printf('\n== The test bench: a transfer at 100 us a call, captured as a logic analyser would\n');
  system([simboard ' reset']);
  system([simboard ' latency 0 0.0001']);
  system([simboard ' latency 1 0.0001']);
  cbSetPortDirection(0, 14, OUTPUT);
  vcd = getenv('DAQGATE_DEMO_CAPTURE');
  if isempty(vcd), vcd = [tempname() '.vcd']; end
  report = [tempname() '.txt'];
  cap = system(sprintf('exec %s capture 0.10,0.11,0.14 --seconds 60 --out %s > %s', simboard, vcd, report), false, 'async');
  while ~exist(report, 'file') || isempty(strfind(fileread(report), 'capturing')), pause(0.01); end
  pid = system([simboard ' send 1 "Hi\\n"'], false, 'async');
  line = '';
  while isempty(line), line = cbFetchText(0, 5, 16); end
  printf('  cbFetchText returned "%s" from simboard send on board 1\n', line);
  waitpid(pid);
  kill(cap, 2); waitpid(cap);          % Ctrl-C ends the capture, its dump whole
  printf('  simboard capture: %s', strrep(fileread(report), sprintf('\n'), sprintf('\n  ')));
  delete(report);
  dump = strsplit(fileread(vcd), sprintf('\n'));
  printf('written to %s, %d lines; it begins:\n', vcd, numel(dump) - 1);
  printf('    %s\n', dump{1:min(16, end)});
  system([simboard ' reset']);

  printf('\n== Analog point I/O: output 0 loops back to input 14\n');
  for volts = [-7.5 0.1 2.5 12]
    [count, status] = cbWriteAnalog(0, 0, 0, volts);
    [back, status2] = cbReadAnalog(0, 14, 0);
    printf('  write %5.2f V -> count %5d (status %d); input 14 reads %9.6f V (status %d)\n', volts, count, status, back, status2);
  end
  system([simboard ' signal 0 9 dc 1.234']);
  printf('  input 9, set to 1.234 V by simboard: %.6f V\n', cbReadAnalog(0, 9, 0));
  [~, status] = cbReadAnalog(0, 16, 0);
  printf('  input 16: status %d, "%s"\n', status, cbErrorText(status));
  printf('  gain queue of channels 0-2: status %d\n', cbSetGainQueue(0, [0 1 2], [0 1 100], 3));

  printf('\n== A foreground scan of channels 0-3 (sines of 10-40 Hz, offsets 0-1.5 V)\n');
  handle = cbNewSampleBuffer(4000);
  printf('  cbNewSampleBuffer(4000) = %d (a handle: pass it back unchanged)\n', handle);
  t = tic;
  [data, rate, status] = cbReadAnalogScan(0, [0 3], 4000, 1000, 0, handle);
  printf('  1000 scans at %d per second took %.2f s, status %d, a %dx%d row\n', rate, toc(t), status, rows(data), columns(data));
  scans = reshape(data, 4, []);
  for c = 1:4
    printf('  channel %d: min %6.3f V  max %6.3f V  mean %6.3f V\n', c - 1, min(scans(c, :)), max(scans(c, :)), mean(scans(c, :)));
  end

  printf('\n== A background acquisition of channels 4-7 for 3 seconds\n');
  system([simboard ' signal 0 4 square 2 5']);
  system([simboard ' signal 0 5 triangle 3 2 -1']);
  system([simboard ' signal 0 6 noise 0.3 4']);
  system([simboard ' signal 0 7 counter']);
  ring = 8000;                                  % 2000 scans of 4 channels
  handle = cbNewSampleBuffer(ring);
  [rate, status] = cbReadAnalogBackgroundScan(0, [4 7], ring, 2000, 0, handle);
  printf('  started at %d scans per second (status %d); the call returned at once\n', rate, status);
  P = 0; Q = 0; acquired = zeros(4, 0); fetches = 0; t = tic; next = 0.5;
  while toc(t) < 3
    [data, state, P, Q] = cbFetchBackgroundData(0, P, Q, ring, [4 7], 0, handle);
    acquired = [acquired data];
    fetches = fetches + 1;
    if toc(t) >= next
      printf('  %.1f s: %6d scans in %4d fetches, count %7d, index %4d\n', toc(t), columns(acquired), fetches, P, Q);
      next = next + 0.5;
    end
    pause(0.05);
  end
  [state, count, index] = cbQueryScanState(0, 1);
  printf('  cbQueryScanState: state %d, count %d, index %d\n', state, count, index);
  printf('  cbHaltBackground: status %d; state now %d\n', cbHaltBackground(0, 1), cbQueryScanState(0, 1));
  counted = round((acquired(4, :) + 10) * 65536 / 20);
  printf('  counter channel: %d scans, none lost or repeated: %d\n', columns(acquired), isequal(counted, mod(0:columns(acquired) - 1, 65536)));
  plot_file = getenv('DAQGATE_DEMO_PLOT');
  if ~isempty(plot_file)
    warning('off', 'all');   % the gnuplot toolkit's notices; it works headless
    graphics_toolkit('gnuplot');
    set(0, 'defaultaxesfontsize', 7, 'defaulttextfontsize', 7);
    figure('visible', 'off', 'position', [0 0 1000 900]);
    seconds = (0:columns(acquired) - 1) / rate;
    names = {'input 4: square 2 V, 5 Hz', 'input 5: triangle 3 V, 2 Hz, -1 V', 'input 6: noise 0.3 V rms, 4 V', 'input 7: counter'};
    for c = 1:4
      % Bands of equal height, each axes leaving room above it for its
      % title below the tick labels of the plot above.
      axes('position', [0.09, 0.09 + (4 - c) * 0.228, 0.87, 0.12]);
      plot(seconds, acquired(c, :));
      title(names{c});
      if c == 4, xlabel('seconds'); end
      ylabel('V');
    end
    print(plot_file, '-dpngcairo', '-S1000,900');
    printf('  plot of what was acquired: %s\n', plot_file);
  end
  try
    handle = cbNewSampleBuffer(1000);
    cbReadAnalogBackgroundScan(0, [0 1], 1000, 10000, 0, handle);
    pause(0.2);
    cbFetchBackgroundData(0, 0, 0, 1000, [0 1], 0, handle);
  catch err
    printf('  a ring left alone for 0.2 s: %s; state now %d\n', err.message, cbQueryScanState(0, 1));
  end

  printf('\n== The daqgate functions: the same work without counts, indexes or handles\n');
  daqgate_session(simboard, mexdir);

  printf('\n== The board-free example\n');
  printf('  mexsmoke(21) = %g\n', mexsmoke(21));
  try
    mexsmoke([1 2]);
  catch err
    printf('  mexsmoke([1 2]) raises: %s\n', err.message);
  end
end

function daqgate_session(simboard, mexdir)
  % The package functions over the gateways, as a script writer meets them.
  system([simboard ' reset']);
  system([simboard ' signal 0 5 counter']);
  [data, t, rate] = daqgate.read(0, 4:7, 1000, 0.5);
  printf('  daqgate.read(0, 4:7, 1000, 0.5): %dx%d volts, t from %g to %g s at %g scans/s\n', ...
         rows(data), columns(data), t(1), t(end), rate);
  acq = daqgate.start(0, 4:7, 20000, 0, 'Ring', 0.5);
  scans = 0; fetches = 0; in_order = true; t0 = tic;
  while toc(t0) < 2
    pause(0.1);
    [data, t] = daqgate.fetch(acq);
    counts = round((data(:, 2) + 10) * 65536 / 20);
    in_order = in_order && isequal(counts, mod(round(t * acq.Rate), 65536));
    scans = scans + rows(data); fetches = fetches + 1;
  end
  s = daqgate.state(acq);
  daqgate.stop(acq);
  printf('  daqgate.start/fetch: %d scans in %d fetches through a ring of %.1f s, each once at its time: %d\n', ...
         scans, fetches, acq.RingSeconds, in_order);
  printf('  daqgate.state: running %d, %d scans; after daqgate.stop the driver says state %d\n', ...
         s.Running, s.Scans, cbQueryScanState(0, 1));
  acq = daqgate.start(0, 0:1, 10000, 0, 'Ring', 0.1);
  pause(0.3);
  try
    daqgate.fetch(acq);
  catch err
    printf('  a script away too long: %s\n    %s\n', err.identifier, err.message);
  end

  file = [tempname() '.wav'];
  info = daqgate.record(file, 0, 1, 1000, 1);
  [y, fs] = audioread(file);
  printf('  audioread: %d values at %d Hz, from %.3f to %.3f V\n', rows(y), fs, 10 * min(y), 10 * max(y));
  system(sprintf('%s signal 0 9 file %s --loop', simboard, file));
  played = daqgate.read(0, 9, 1000, 1);
  printf('  simboard replays it on input 9: daqgate.read finds %.3f to %.3f V\n', min(played), max(played));
  delete(file);

  writer = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                    'daqgate.send(1, [''caf'' char(233) '' from board 1''], 30);" 2>/dev/null'], mexdir);
  pid = system(writer, false, 'async');
  line = daqgate.receive(0, 30);
  waitpid(pid);
  printf('  daqgate.receive got "%s" (bytes %s)\n', line, num2str(double(line(1:4))));
  try
    daqgate.receive(0, 0.2);
  catch err
    printf('  with no writer: %s: %s\n', err.identifier, err.message);
  end

  shot = getenv('DAQGATE_DEMO_SCOPE');
  [found, ~] = system('command -v xvfb-run');
  if ~isempty(shot) && found == 0
    % Qt's runtime folder beside the picture, not in the temporary folder.
    runtime = fullfile(fileparts(shot), 'demo-xdg');
    if ~exist(runtime, 'dir'), mkdir(runtime); end
    system(sprintf('chmod 700 ''%s''', runtime));
    setenv('XDG_RUNTIME_DIR', runtime);
    system(sprintf(['xvfb-run -a octave --no-gui --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                    'graphics_toolkit(''qt''); figure(''position'', [100 100 720 420]); ' ...
                    'daqgate.scope(0, 0:3, 5000, 0, 0.25, ''Duration'', 2, ''Figure'', gcf); ' ...
                    'f = getframe(gcf); imwrite(f.cdata, ''%s'');" > /dev/null 2>&1'], mexdir, shot));
    printf('  daqgate.scope(0, 0:3, 5000, 0, 0.25) for 2 s under Xvfb, its window grabbed: %s\n', shot);
  end
end
