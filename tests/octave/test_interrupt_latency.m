function test_interrupt_latency()
  % Ctrl-C ends a link wait on a board of any pace: a reader fed an endless
  % stream, its board taking no time, a millisecond or a second a driver
  % call, ends with the interrupt's message.  How soon is the benchmarks'
  % business; here a limit far above one call tells a wait that heard the
  % user from one deaf to it (the stride of calls between two looks would
  % take minutes at a second a call).
  reader = ['cbSetPortDirection(0, 14, 1); fclose(fopen(''reader.ready'', ''w'')); ' ...
            'try, cbFetchText(0, 0, 64); exit(3); catch err, disp(err.message); ' ...
            'exit(~strcmp(err.message, ''cbFetchText: *** cbFetchText: wait interrupted by the user'')); end'];
  for micros = [0, 1000, 5000, 1000000]
    % The sender bit held at 2 is up for wait 1 and down for wait 2.
    simboard('reset');
    simboard('direction', '1.10', 'out'); simboard('write', '1.10', '120');
    simboard('direction', '1.11', 'out'); simboard('write', '1.11', '2');
    simboard('latency', '0', sprintf('%g', micros / 1e6));
    if exist('reader.ready', 'file'), delete('reader.ready'); end
    pid = spawn(octave_peer(reader), 'reader.out');
    t = tic;
    while ~exist('reader.ready', 'file') && toc(t) < 60, pause(0.02); end
    pause(max(0.5, 3 * micros / 1e6));   % well into the stream
    kill(pid, 2);
    t = tic;
    [status, ended] = finished_within(pid, 30 + 3 * micros / 1e6);
    out = strtrim(fileread('reader.out'));
    what = sprintf('at %d us a call', micros);
    assert(ended, 'Ctrl-C ends the reader %s (it was still running, then killed)', what);
    check_eq(status, 0, ['the reader ends with the interrupt''s message ' what ': ' out]);
    printf('Ctrl-C %s: ended after %.3f s\n', what, toc(t));
  end
  simboard('reset');
end

function [status, ended] = finished_within(pid, seconds)
  % Waits for the process at most so long; one still running then is killed.
  t = tic;
  ended = false;
  status = -1;
  while toc(t) < seconds
    [got, raw] = waitpid(pid, WNOHANG);
    if got == pid
      ended = true;
      status = WEXITSTATUS(raw);
      return;
    end
    pause(0.01);
  end
  kill(pid, 9);
  waitpid(pid);
end
