function test_digital()
  % Digital ports across two wired boards of the simulated rig, board
  % names and error texts, as a script sees them.
  OUT = 1; IN = 2;

  % Board names: distinct, and every one fits the driver's buffer, for
  % every board of the rig: boards 0 on, up to the first the driver refuses.
  boards = rig_boards();
  names = cell(1, boards);
  for board = 0:boards - 1
    [name, status] = cbBoardLabel(board);
    check_eq(status, 0, sprintf('board %d has a name', board));
    assert(ischar(name) && numel(name) >= 1 && numel(name) <= 27, 'board %d name length', board);
    names{board + 1} = name;
  end
  [name, status] = cbBoardLabel(boards);
  assert(boards >= 2, 'the rig has a pair of boards at least (%d)', boards);
  check_eq(numel(unique(names)), boards, 'distinct board names');
  check_eq(status, 1, sprintf('board %d does not exist', boards));
  check_eq(name, '', 'no name for a missing board');

  % Error texts: success, each failure of its own, unknown codes.
  check_eq(cbErrorText(0), 'No error has occurred.', 'text of code 0');
  assert(~isempty(strfind(cbErrorText(12345), '12345')), 'unknown code named in its text');
  check_eq(cbErrorText(1.9), cbErrorText(1), 'code 1.9 looked up as 1');

  % Power-up: inputs, reading 0, and writing an input fails with a status.
  [value, status] = cbReadPort(1, 10);
  check_eq([value status], [0 0], 'an undriven input reads 0');
  status = cbWritePort(0, 10, 5);
  check_eq(status, 4, 'writing an input port fails');
  assert(~strcmp(cbErrorText(status), cbErrorText(0)), 'the failure has its own text');

  % Board 0 port 10 drives board 1 port 10 through the default wiring.
  check_eq(cbSetPortDirection(0, 10, OUT), 0, 'port 0.10 made an output');
  check_eq(cbWritePort(0, 10, 65535), 0, 'write all lines high');
  [value, status] = cbReadPort(1, 10);
  check_eq([value status], [65535 0], 'all lines high read as 65535, never -1');
  cbWritePort(0, 10, -1);
  check_eq(cbReadPort(1, 10), 65535, '-1 writes the 16-bit pattern of ones');
  cbWritePort(0, 10, 65537);
  check_eq(cbReadPort(1, 10), 1, 'only the low 16 bits of a value go out');
  cbWritePort(0.9, 10.9, 255.99);
  check_eq(cbReadPort(1, 10), 255, 'fractional arguments truncated toward zero');
  check_eq(cbReadPort(0, 10), 255, 'an output reads back its latch');
  check_eq(cbReadPort(3, 10), 0, 'boards 2 and 3 are wired apart');

  % The other direction, board 1 driving board 0.
  cbSetPortDirection(1, 20, OUT);
  cbWritePort(1, 20, hex2dec('1234'));
  check_eq(cbReadPort(0, 20), hex2dec('1234'), 'board 1 drives board 0');

  % Unknown boards, ports and directions: statuses, not errors.
  [value, status] = cbReadPort(0, 32);
  check_eq(status, 2, 'port 32 does not exist');
  check_eq(cbSetPortDirection(0, 1, 3), 3, 'direction 3 does not exist');
  check_eq(cbWritePort(7, 1, 0), 1, 'board 7 does not exist');

  % Usage texts, and arguments the frame refuses.
  check_error(@() cbReadPort(1), '*** Usage: [errorCode] = cbReadPort(boardNum, portNum)', 'cbReadPort, one argument');
  check_error(@() cbReadPort(0, 1, 2), '*** Usage: [errorCode] = cbReadPort(boardNum, portNum)', 'cbReadPort, three arguments');
  check_error(@() cbWritePort(0, 1), '*** Usage: [errorCode] = cbWritePort(boardNum, portNum, value)', 'cbWritePort, two arguments');
  check_error(@() cbSetPortDirection(0), '*** Usage: [errorCode] = cbSetPortDirection(boardNum, portNum, direction)', 'cbSetPortDirection, one argument');
  check_error(@() cbBoardLabel(0, 1), '*** Usage: [boardName, errorCode] = cbBoardLabel(boardNum)', 'cbBoardLabel, two arguments');
  check_error(@() cbErrorText(), '*** Usage: [errorString] = cbErrorText(errorCode)', 'cbErrorText, no argument');
  check_error(@() cbReadPort(0, NaN), '*** cbReadPort: portNum must be a finite number within the 32-bit integer range', 'NaN port');
  check_error(@() cbWritePort(0, 10, 2^31), '*** cbWritePort: value must be a finite number within the 32-bit integer range', 'value beyond 32 bits');
  check_error(@() cbWritePort(0, 10, Inf), '*** cbWritePort: value must be a finite number within the 32-bit integer range', 'infinite value');
  bad = {'a', {1}, struct('a', 1), true, int32(1), single(1), 1+2i, []};
  for i = 1:numel(bad)
    check_error(@() cbReadPort(bad{i}, 1), '*** cbReadPort: boardNum must be a real double number', ['board of class ' class(bad{i})]);
  end
  check_eq(cbReadPort(0, 10), 255, 'refused calls changed nothing');

  % All outputs are stored whatever is asked; asking for more than the
  % gateway gives is the host's error, and the next call works.
  cbReadPort(0, 10);
  check_eq(ans, 255, 'no output requested still sets the first');
  refused = false;
  try
    [a, b, c] = cbReadPort(0, 10);
  catch
    refused = true;
  end
  assert(refused, 'three outputs of cbReadPort');
  [value, status] = cbReadPort(0, 10);
  check_eq([value status], [255 0], 'a call after an error behaves normally');
end
