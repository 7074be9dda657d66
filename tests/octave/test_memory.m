function test_memory()
  % Resident memory stays flat over many calls of the digital port
  % gateways, the board utilities, the text link's writers and readers and
  % mexsmoke, on their success paths and their error paths (see
  % memory_path).  test_memory_analog does the same for the analog
  % gateways.  A path that waits out a time limit runs 1e3 times, every
  % other 3e4 times.
  FAST = 3e4; TIMED = 1e3;
  OUT = 1;
  started = tic;

  % Digital ports: board 0 port 10 an output, the rest inputs.
  simboard('reset');
  check_eq(cbSetPortDirection(0, 10, OUT), 0, 'port 0.10 made an output');
  [~, status] = cbReadPort(0, 32);
  assert(status ~= 0, 'port 32 does not exist: a status');
  memory_path('[value, status] = cbReadPort(0, 10)', FAST, '');
  memory_path('[value, status] = cbReadPort(0, 32)', FAST, '');
  memory_path('status = cbWritePort(0, 10, 5)', FAST, '');
  memory_path('status = cbSetPortDirection(0, 10, 1)', FAST, '');
  memory_path('cbReadPort(1)', FAST, '*** Usage: [errorCode] = cbReadPort(boardNum, portNum)');
  memory_path('cbReadPort(0, NaN)', FAST, '*** cbReadPort: portNum must be a finite number within the 32-bit integer range');
  memory_path('cbReadPort(''a'', 1)', FAST, '*** cbReadPort: boardNum must be a real double number');
  memory_path('[a, b, c] = cbReadPort(0, 10)', FAST, 'element number 3 undefined in return list');   % the host's error
  memory_path('cbWritePort(0, 10)', FAST, '*** Usage: [errorCode] = cbWritePort(boardNum, portNum, value)');
  memory_path('cbWritePort(0, 10, 2^31)', FAST, '*** cbWritePort: value must be a finite number within the 32-bit integer range');
  memory_path('cbSetPortDirection(0)', FAST, '*** Usage: [errorCode] = cbSetPortDirection(boardNum, portNum, direction)');

  % Board utilities.
  none = rig_boards();   % the first board the rig does not have
  [name, status] = cbBoardLabel(none);
  assert(status == 1 && isempty(name), 'board %d does not exist: status 1 and no name', none);
  memory_path('[name, status] = cbBoardLabel(0)', FAST, '');
  memory_path(sprintf('[name, status] = cbBoardLabel(%d)', none), FAST, '');
  memory_path('text = cbErrorText(0)', FAST, '');
  memory_path('text = cbErrorText(12345)', FAST, '');
  memory_path('cbBoardLabel(0, 1)', FAST, '*** Usage: [boardName, errorCode] = cbBoardLabel(boardNum)');
  memory_path('cbErrorText()', FAST, '*** Usage: [errorString] = cbErrorText(errorCode)');
  memory_path('cbErrorText(''a'')', FAST, '*** cbErrorText: errorCode must be a real double number');

  % Writers.  On board 2 the sender bit (port 11) is wired to the receiver
  % bit (port 14) of the same board: every request is answered at once, so
  % a writer sends its line without a reader.  On board 0 no reader
  % answers: a writer times out waiting for the acknowledge of its first
  % byte.  Its text is long so that a copy of it left behind on every call
  % would show well above the limit within the 1e3 calls of that path.
  % With a limit of 1e-4 s, a writer descheduled in the first poll of its
  % first wait times out there instead, its text copied all the same.
  simboard('reset');
  simboard('unwire', '2.11', '3.11');
  simboard('unwire', '2.14', '3.14');
  simboard('wire', '2.11', '2.14');
  for port = [10 11]
    cbSetPortDirection(2, port, OUT);
    cbSetPortDirection(0, port, OUT);
  end
  v.long = repmat('x', 1, 4000);
  usage = '*** Usage: [numBytesWritten] = cbPushText(boardNum, stringTowrite, timeOut)';
  for writer = {'cbPushText', 'QLPushText'}
    writer = writer{1};
    check_eq(feval(writer, 2, sprintf('hi\n'), 1), 3, [writer ' sends its line over the looped ports']);
    memory_path(['n = ' writer '(2, "hi\n", 1)'], FAST, '');
    memory_path(['n = ' writer '(0, '''', 1)'], FAST, '');
    memory_path([writer '(2, 5, 1)'], FAST, ['*** ' writer ': stringTowrite must be a character array']);
    memory_path([writer '(2, "hi\n")'], FAST, usage);
    memory_path([writer '(0, v.long, 1e-4)'], TIMED, ...
                {'*** Receiver bit read timeout 2', '*** Receiver bit read timeout 1'}, v);
  end

  % Readers.  On board 2 no request is up: a reader returns '' at once.
  % On board 0 board 1 drives each reader's data port with a line feed and
  % its sender port with 2: the request is up when the reader looks (not
  % 0) and withdrawn when it waits for that (bit 0 clear), so every call
  % takes a line of one line feed through a whole handshake.  QLFetchTextD
  % prints each phase of a handshake: only its paths without one are run.
  simboard('reset');
  for ports = [10 11 14; 15 16 12]'   % data, sender and receiver ports
    cbSetPortDirection(1, ports(1), OUT); cbWritePort(1, ports(1), 10);
    cbSetPortDirection(1, ports(2), OUT); cbWritePort(1, ports(2), 2);
    cbSetPortDirection(0, ports(3), OUT);
  end
  check_eq(QLPullChars(0, 1, 8), sprintf('\n'), 'QLPullChars takes a line of one line feed');
  check_eq(cbReadPort(1, 12), 0, 'and lowers its read bit after it');
  for reader = {'cbFetchText', 'QLFetchText', 'QLFetchTextD', 'QLPullChars'}
    reader = reader{1};
    if strcmp(reader, 'cbFetchText')
      usage = '*** Usage:  [stringVal] = cbFetchText(boardNum, timeOut, buffSize)';
    else
      usage = '*** Usage:  [stringVal] = QLFetchText(boardNum, timeOut, buffSize)';
    end
    check_eq(feval(reader, 2, 1, 8), '', [reader ' with no request up returns at once']);
    memory_path(['line = ' reader '(2, 1, 8)'], FAST, '');
    if ~strcmp(reader, 'QLFetchTextD')
      memory_path(['line = ' reader '(0, 1, 8)'], FAST, '');
    end
    memory_path([reader '(2, 1, 1)'], FAST, ['*** ' reader ': buffSize must be at least 2']);
    memory_path([reader '(2, 1)'], FAST, usage);
  end

  % The board-free example.
  memory_path('y = mexsmoke(3)', FAST, '');
  memory_path('mexsmoke()', FAST, 'One input required.');
  memory_path('mexsmoke(''a'')', FAST, 'Input must be a noncomplex scalar double.');

  printf('memory: %.0f s\n', toc(started));
end
