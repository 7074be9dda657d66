function test_rig_loss()
  % The rig file shrinks under a host that loops on the driver: the host
  % goes on, every call says the rig was lost, and after 'simboard reset'
  % the same host takes the renewed rig back.
  rig = getenv('DAQGATE_RIG');
  cbReadPort(0, 0);   % the rig file exists
  full = dir(rig).bytes;
  cuts = {'to nothing', 0; 'to half', floor(full / 2)};
  for i = 1:rows(cuts)
    [what, bytes] = cuts{i, :};
    simboard('reset');
    delete_if_there('loop.ready'); delete_if_there('loop.lost');
    loop = octave_peer(['cbSetPortDirection(0, 10, 1); cbWritePort(0, 10, 7); ' ...
        'fclose(fopen(''loop.ready'', ''w'')); lost = 0; t = tic; ' ...
        'while toc(t) < 30, [v, s] = cbReadPort(1, 10); ' ...
        'if s == 0 && v ~= 7 && ~lost, exit(4); end, ' ...
        'if s ~= 0 && ~lost, lost = s; fid = fopen(''loop.tmp'', ''w''); fprintf(fid, ''%d %s'', s, cbErrorText(s)); fclose(fid); rename(''loop.tmp'', ''loop.lost''); end, ' ...
        'if lost && s == 0, exit(0); end, end, exit(3)']);
    pid = spawn(loop, 'loop.out');
    wait_for_file('loop.ready');
    system(sprintf('truncate -s %d %s', bytes, rig));
    wait_for_file('loop.lost');
    said = fileread('loop.lost');
    assert(~isempty(strfind(said, 'rig file was lost')), 'cut %s: the looping host is told: %s', what, said);
    simboard('reset');
    status = finished(pid);
    check_eq(status, 0, sprintf('cut %s: the host ran on and took the renewed rig back (%s)', what, strtrim(fileread('loop.out'))));
  end
  % This host, too, meets the loss and the renewal.
  system(sprintf('truncate -s 0 %s', rig));
  [~, status] = cbReadPort(0, 0);
  assert(~isempty(strfind(cbErrorText(status), 'rig file was lost')), 'this host after a cut to nothing');
  [name, status] = cbBoardLabel(0);
  assert(status ~= 0 && isempty(name), 'no board name from a lost rig');
  simboard('reset');
  pause(0.1);
  [value, status] = cbReadPort(0, 0);
  check_eq([value status], [0 0], 'the renewed rig at power-up');
end

function delete_if_there(file)
  if exist(file, 'file'), delete(file); end
end

function wait_for_file(file)
  t = tic;
  while ~exist(file, 'file') && toc(t) < 30, pause(0.02); end
end
