function test_link_peer()
  % Each text link gateway against simboard's own implementation of the
  % protocol, on the simulated rig: board 0 is the gateway's end, board 1
  % the peer's, wired port to port.
  sb = getenv('DAQGATE_SIMBOARD');
  OUT = 1;

  % Readers: the peer drives each reader's own port codes.
  readers = {@cbFetchText, [10 11 14], 'AB'; ...
             @QLFetchText, [15 16 12], 'AB'; ...
             @QLFetchTextD, [14 15 10], 'AB'; ...
             @QLPullChars, [15 16 12], sprintf('AB\n')};
  for i = 1:rows(readers)
    [reader, ports, expected] = readers{i, :};
    name = func2str(reader);
    simboard('reset');
    cbSetPortDirection(0, ports(3), OUT);
    pid = spawn(sprintf('%s send 1 "AB\\n" --data %d --sender %d --receiver %d', sb, ports), 'peer.out');
    [line, calls] = fetch_line(reader, 0, 10);
    check_eq(line, expected, [name ' takes a line from the peer']);
    check_eq(finished(pid), 0, [name ': the peer completed every handshake']);
    check_eq(cbReadPort(0, ports(3)), 0, [name ' leaves its read bit down']);
  end

  % Bytes above 0x7F arrive whole; the writer sign-extends them on the line.
  simboard('reset');
  cbSetPortDirection(0, 14, OUT);
  pid = spawn(sprintf('%s send 1 "A\\xe9\\x80\\xff~\\n"', sb), 'peer.out');
  line = fetch_line(@cbFetchText, 0, 10);
  check_eq(double(line), [65 233 128 255 126], 'bytes above 0x7F');
  check_eq(finished(pid), 0, 'high bytes: peer done');

  % A lone line feed: one whole handshake and an empty line.
  simboard('reset');
  cbSetPortDirection(0, 14, OUT);
  pid = spawn(sprintf('%s send 1 "\\n"', sb), 'peer.out');
  t = tic;
  while cbReadPort(0, 11) == 0 && toc(t) < 20, end   % the peer's request is up
  check_eq(cbFetchText(0, 5, 8), '', 'a lone line feed is an empty line');
  check_eq(finished(pid), 0, 'the line feed went through the handshake');

  % Writers: the peer receives on board 1.
  for writer = {@cbPushText, @QLPushText}
    writer = writer{1};
    name = func2str(writer);
    simboard('reset');
    cbSetPortDirection(0, 10, OUT);
    cbSetPortDirection(0, 11, OUT);
    pid = spawn(sprintf('%s receive 1 --hex', sb), 'peer.out');
    % The writer waits for the peer's answer as long as a busy machine may
    % take to start the peer.
    n = writer(0, [char([200 65]) ' line' char(10)], 30);
    check_eq(n, 8, [name ' sends every byte']);
    check_eq(finished(pid), 0, [name ': the peer took a line']);
    check_eq(strtrim(fileread('peer.out')), 'c8 41 20 6c 69 6e 65', [name ': bytes as the peer saw them']);
    check_eq(cbReadPort(0, 11), 0, [name ' leaves the sender bit down']);
    check_eq(cbReadPort(0, 10), ifelse_data(name), [name ': data port after the line']);
  end

  % A line feed in the middle: the rest reaches the next reader call.
  simboard('reset');
  cbSetPortDirection(0, 14, OUT);
  pid = spawn(sprintf('%s send 1 "one\\ntwo\\n"', sb), 'peer.out');
  first = fetch_line(@cbFetchText, 0, 10);
  second = fetch_line(@cbFetchText, 0, 10);
  check_eq(first, 'one', 'first line');
  check_eq(second, 'two', 'second line of the same text');
  check_eq(finished(pid), 0, 'two lines: peer done');
end

function value = ifelse_data(name)
  % cbPushText leaves its last byte on the data port (sign-extended line
  % feed), QLPushText clears it.
  if strcmp(name, 'QLPushText'), value = 0; else, value = 10; end
end
