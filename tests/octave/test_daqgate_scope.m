function test_daqgate_scope()
  % daqgate.scope in Octave's qt toolkit on a virtual X display: the window
  % it draws, the scans it shows, and the scan halted when it ends, by its
  % duration or by Ctrl-C.
  xvfb = spawn('Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp', 'xvfb.out');
  display = '';   % the number Xvfb writes on a line of its own once it serves
  clock = tic;
  while isempty(display) && toc(clock) < 30
    pause(0.1);
    if exist('xvfb.out', 'file')
      display = regexp(fileread('xvfb.out'), '^\d+$', 'match', 'once', 'lineanchors');
    end
  end
  mkdir('xdg');                 % Qt's runtime folder, here rather than in the temporary folder
  system('chmod 700 xdg');
  gui = @(code) spawn(sprintf('env DISPLAY=:%s XDG_RUNTIME_DIR=%s octave --no-gui --norc --no-history --quiet --eval "addpath(''%s''); graphics_toolkit(''qt''); %s"', ...
                              display, fullfile(pwd, 'xdg'), fileparts(which('cbReadPort')), code), 'gui.out');
  simboard('signal', '0', '4', 'counter');

  % Three seconds of a half-second window; then a grab of the window.
  pid = gui(['[t, data] = daqgate.scope(0, 4:5, 2000, 0, 0.5, ''Duration'', 3); ' ...
             'frame = getframe(gcf); imwrite(frame.cdata, ''scope.png''); ' ...
             'k = round(t * 2000); ok = numel(t) == 1000 && isequal(diff(k), ones(999, 1)) ' ...
             '&& isequal(round((data(:, 1) + 10) * 3276.8), mod(k, 65536)) && cbQueryScanState(0, 1) == 0; exit(~ok)']);
  check_eq(finished(pid), 0, ['scope: the last half second, every scan, then the scan halted: ' fileread('gui.out')]);
  shot = imread('scope.png');
  colours = unique(reshape(shot, [], 3), 'rows');
  assert(rows(shot) > 200 && columns(shot) > 200 && rows(colours) > 10, ...
         'scope: the window grabbed, %dx%d pixels of %d colours', columns(shot), rows(shot), rows(colours));

  % Ctrl-C while it draws.
  pid = gui(['unwind_protect, fclose(fopen(''scope.ready'', ''w'')); daqgate.scope(0, 0:3, 1000); ' ...
             'unwind_protect_cleanup, drawn = max(cellfun(@numel, get(findobj(gcf, ''type'', ''line''), ''XData''))); ' ...
             'fid = fopen(''scope.state'', ''w''); fprintf(fid, ''%d %d'', cbQueryScanState(0, 1), drawn > 100); fclose(fid); ' ...
             'end_unwind_protect']);
  wait_for('scope.ready');
  pause(5);
  kill(pid, 2);
  finished(pid);
  check_eq(fileread('scope.state'), '0 1', ['Ctrl-C: the scope had drawn, its scan is halted: ' fileread('gui.out')]);
  kill(xvfb, 15);
  finished(xvfb);
end
