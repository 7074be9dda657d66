function test_daqgate_link()
  % daqgate.send and daqgate.receive between two Octave processes on the
  % simulated rig (board 0 here, board 1 the peer's), every byte value a
  % line may hold, both pairs of ports, and the time limits.
  bytes = [1:9 11:255];                    % all but the zero byte and the line feed
  peer = @(code) spawn(octave_peer(code), 'peer.out');

  % The peer writes, this process reads.
  pid = peer(sprintf('exit(daqgate.send(1, char([%s]), 60) ~= %d)', num2str(bytes), numel(bytes) + 1));
  line = daqgate.receive(0, 60);
  check_eq(double(line), bytes, 'receive: every byte 1-255 but the line feed, 0x80-0xFF whole');
  check_eq(finished(pid), 0, ['send: the bytes sent, the line feed counted: ' fileread('peer.out')]);

  % This process writes, the peer reads and tells what it got.
  pid = peer('line = daqgate.receive(1, 60); fid = fopen(''got'', ''w''); fprintf(fid, ''%d '', double(line)); fclose(fid);');
  n = daqgate.send(0, char(bytes(end:-1:1)), 60);
  check_eq(finished(pid), 0, ['receive in the peer: ' fileread('peer.out')]);
  check_eq(n, numel(bytes) + 1, 'send: the bytes sent, the line feed counted');
  check_eq(str2num(fileread('got')), bytes(end:-1:1), 'send: every byte as the peer saw it');

  % An empty line is a line.
  pid = peer('daqgate.send(1, '''', 60);');
  check_eq(daqgate.receive(0, 60), '', 'an empty line');
  check_eq(finished(pid), 0, 'an empty line: the peer done');

  % The 'QL' pair: QLPushText's ports 10, 11, 14 wired to QLFetchText's 15, 16, 12.
  for port = {'10', '11', '14', '15', '16', '12'}
    simboard('unwire', ['0.' port{1}], ['1.' port{1}]);
  end
  simboard('wire', '0.10', '1.15'); simboard('wire', '0.11', '1.16'); simboard('wire', '0.14', '1.12');
  pid = peer('line = daqgate.receive(1, 60, ''Ports'', ''QL''); exit(~strcmp(line, [''caf'' char(233)]));');
  check_eq(daqgate.send(0, ['caf' char(233)], 60, 'Ports', 'QL'), 5, 'QL: sent');
  check_eq(finished(pid), 0, ['QL: the peer read the line: ' fileread('peer.out')]);
  simboard('reset');

  % Time limits: no writer, no reader.
  clock = tic;
  check_raises(@() daqgate.receive(0, 0.3), 'daqgate:timeout', 'daqgate.receive: no line arrived on board 0 within 0.3 s', ...
               'receive: the time limit');
  assert(toc(clock) >= 0.3, 'receive waited its limit (%.2f s)', toc(clock));
  check_raises(@() daqgate.send(0, 'lost', 0.3), 'daqgate:timeout', ...
               'daqgate.send: no reader answered on board 0 within 0.3 s (cbPushText: *** Receiver bit read timeout 2)', ...
               'send: the time limit');
  check_raises(@() daqgate.send(0, 'x', 1, 'Ports', 'ab'), 'daqgate:argument', 'daqgate.send: Ports must be ''cb'' or ''QL''', ...
               'send: Ports');
end
