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
  printf('  board 3 port 10, on the other pair of boards, reads %d\n', cbReadPort(3, 10));
  try
    cbReadPort(0);
  catch err
    printf('  a call with one argument raises: %s\n', err.message);
  end

  printf('\n== The rig as simboard shows it\n');
  [~, shown] = system(sprintf('%s show', fullfile(fileparts(which('cbReadPort')), '..', 'bin', 'simboard')));
  lines = strsplit(shown, "\n");
  printf('  %s\n', lines{[1:4 end-3:end-1]});

  printf('\n== The board-free example\n');
  printf('  mexsmoke(21) = %g\n', mexsmoke(21));
  try
    mexsmoke([1 2]);
  catch err
    printf('  mexsmoke([1 2]) raises: %s\n', err.message);
  end
end
