function test_link_hosts()
  % Writers and readers of the text link in two Octave processes, and the
  % link's failures as a script meets them.
  OUT = 1;

  % Gateway writer in another host, gateway reader here.
  for writer = {'cbPushText', 'QLPushText'}
    writer = writer{1};
    simboard('reset');
    cbSetPortDirection(0, 14, OUT);
    pid = spawn(octave_peer(sprintf(['cbSetPortDirection(1, 10, 1); cbSetPortDirection(1, 11, 1); ' ...
        'n = %s(1, [''caf'' char(233) '' line'' char(10)], 10); exit(n ~= 10)'], writer)), 'writer.out');
    line = fetch_line(@cbFetchText, 0, 20);
    check_eq(double(line), double(['caf' char(233) ' line']), [writer ' to cbFetchText across hosts']);
    check_eq(finished(pid), 0, [writer ' in the other host sent 10 bytes']);
  end

  % The QL readers take their lines on other port codes: rewire so that a
  % gateway writer on board 1 reaches them.
  rewire = {'QLFetchText', [15 16 12]; 'QLPullChars', [15 16 12]; 'QLFetchTextD', [14 15 10]};
  for i = 1:rows(rewire)
    [name, ports] = rewire{i, :};
    simboard('reset');
    for p = unique([10 11 14 ports])
      simboard('unwire', sprintf('0.%d', p), sprintf('1.%d', p));
    end
    simboard('wire', sprintf('1.10 0.%d', ports(1)));
    simboard('wire', sprintf('1.11 0.%d', ports(2)));
    simboard('wire', sprintf('1.14 0.%d', ports(3)));
    cbSetPortDirection(0, ports(3), OUT);
    pid = spawn(octave_peer(['cbSetPortDirection(1, 10, 1); cbSetPortDirection(1, 11, 1); ' ...
        'exit(cbPushText(1, sprintf(''xyz\n''), 10) ~= 4)']), 'writer.out');
    line = fetch_line(str2func(name), 0, 20);
    expected = 'xyz';
    if strcmp(name, 'QLPullChars'), expected = sprintf('xyz\n'); end
    check_eq(line, expected, [name ' from cbPushText over rewired ports']);
    check_eq(finished(pid), 0, [name ': writer done']);
  end

  % A writer with no reader times out waiting for the acknowledge and
  % leaves its request up.
  simboard('reset');
  cbSetPortDirection(0, 10, OUT);
  cbSetPortDirection(0, 11, OUT);
  check_error(@() cbPushText(0, sprintf('hi\n'), 0.2), '*** Receiver bit read timeout 2', 'writer with no reader');
  check_eq(cbReadPort(1, 11), 1, 'the request stays up');

  % A reader whose writer never withdraws its request fails in wait 2
  % after one second and leaves its read bit up ...
  cbSetPortDirection(1, 14, OUT);
  check_error(@() cbFetchText(1, 1000, 8), '*** Server bit read timeout 2', 'reader of a request never withdrawn');
  check_eq(cbReadPort(0, 14), 1, 'the read bit stays up after the failure');
  % ... and the next writer then times out before touching the data port.
  cbWritePort(0, 11, 0);
  cbWritePort(0, 10, 77);
  check_error(@() cbPushText(0, sprintf('x\n'), 0.2), '*** Receiver bit read timeout 1', 'writer meets a read bit left up');
  check_eq(cbReadPort(1, 10), 77, 'nothing was put on the data port');

  % Ctrl-C ends a reader blocked with no time limit, with its own error.
  simboard('reset');
  sb = getenv('DAQGATE_SIMBOARD');
  peer = spawn(sprintf('%s send 1 ab --timeout 0', sb), 'peer.out');   % a line without its line feed
  mexdir = fileparts(which('cbReadPort'));
  blocked = sprintf(['exec octave-cli --norc --no-history --quiet --eval "addpath(''%s''); cbSetPortDirection(0, 14, 1); ' ...
                     'try, while isempty(cbFetchText(0, 0, 8)), end, exit(3); ' ...
                     'catch err, disp(err.message); exit(~strcmp(err.message, ''cbFetchText: *** cbFetchText: wait interrupted by the user'')); end"' ...
                     ' > blocked.out 2>&1'], mexdir);
  pid = system(blocked, false, 'async');
  t = tic;
  while cbReadPort(1, 14) == 0 && toc(t) < 20, pause(0.05); end   % its read bit went up: it is reading
  pause(0.5);
  kill(pid, 2);   % SIGINT
  [~, status] = waitpid(pid);
  check_eq(WEXITSTATUS(status), 0, ['Ctrl-C ends the wait: ' strtrim(fileread('blocked.out'))]);
  kill(peer, 9); waitpid(peer);
end
