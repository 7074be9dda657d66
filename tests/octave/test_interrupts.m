function test_interrupts()
  % Only the user's Ctrl-C ends a link wait early: a child of the script
  % that exits changes nothing, Ctrl-C ends even a reader fed an endless
  % stream, and SIGTERM ends the host as it always does.
  OUT = 1;

  % A writer with no reader, while a child process exits (SIGCHLD).
  cbSetPortDirection(0, 10, OUT); cbSetPortDirection(0, 11, OUT);
  child = system('exec sleep 0.3', false, 'async');
  t = tic;
  check_error(@() cbPushText(0, 'A', 2), '*** Receiver bit read timeout 2', 'a child exiting mid-wait');
  elapsed = toc(t);
  assert(elapsed >= 2, 'the wait ran its 2 s limit (%.2f s)', elapsed);
  waitpid(child);

  % An endless stream: the sender bit held at 2 is up for wait 1 and down
  % for wait 2, so every wait ends on its first poll.
  simboard('reset');
  simboard('direction', '1.10', 'out'); simboard('write', '1.10', '120');
  simboard('direction', '1.11', 'out'); simboard('write', '1.11', '2');
  reader = ['cbSetPortDirection(0, 14, 1); fclose(fopen(''reader.ready'', ''w'')); ' ...
            'try, cbFetchText(0, 5, 64); exit(3); catch err, disp(err.message); ' ...
            'exit(~strcmp(err.message, ''cbFetchText: *** cbFetchText: wait interrupted by the user'')); end'];
  for sig = {'SIGINT', 2; 'SIGTERM', 15}'
    [name, number] = sig{:};
    if exist('reader.ready', 'file'), delete('reader.ready'); end
    pid = spawn(octave_peer(reader), 'reader.out');
    t = tic;
    while ~exist('reader.ready', 'file') && toc(t) < 30, pause(0.02); end
    pause(1);   % well into the stream
    kill(pid, number);
    status = finished(pid);   % a signal not acted on runs into the test's time limit
    out = strtrim(fileread('reader.out'));
    if number == 2
      check_eq(status, 0, ['Ctrl-C ends a reader fed an endless stream: ' out]);
    else
      assert(status ~= 0 && status ~= 3 && isempty(strfind(out, 'interrupted')), 'SIGTERM ends the host: %s', out);
    end
  end
end
