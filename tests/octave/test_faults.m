function test_faults()
  % Faults on the rig: a peer killed in the middle of a transfer, and rig
  % files that cannot serve, met by a script.
  mexdir = fileparts(which('cbReadPort'));

  % A writer killed while its request is up: the request stays up.
  cbSetPortDirection(0, 14, 1);
  writer = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                    'cbSetPortDirection(1, 10, 1); cbSetPortDirection(1, 11, 1); cbPushText(1, ''lost line'', 0)"'], mexdir);
  pid = system(['exec ' writer ' > writer.out 2>&1'], false, 'async');   % exec: pid is Octave's own
  t = tic;
  while cbReadPort(0, 11) == 0 && toc(t) < 20, pause(0.01); end
  % The reader here is not yet answering; the writer waits in wait 2.
  kill(pid, 9); waitpid(pid);
  check_eq(cbReadPort(0, 11), 1, 'the killed writer left its request up');
  % The next reader takes the stale character, then meets a request that is
  % never withdrawn: wait 2 fails after a second and leaves the read bit up.
  check_error(@() cbFetchText(0, 5, 8), '*** Server bit read timeout 2', 'a reader meets the dead writer');
  check_eq(cbReadPort(1, 14), 1, 'the read bit stays up');
  % A new writer meets the read bit left up: with a time limit, it fails
  % before touching the data port.
  check_error(@() cbPushText(1, sprintf('x\n'), 0.2), '*** Receiver bit read timeout 1', 'a new writer meets the read bit');
  % Each end lowers the flag it drives when it starts afresh, and the link works again.
  cbWritePort(1, 11, 0);
  cbWritePort(0, 14, 0);
  pid = system(sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                        'exit(cbPushText(1, sprintf(''again\\n''), 10) ~= 6)"'], mexdir), false, 'async');
  line = fetch_line(@cbFetchText, 0, 20);
  [~, status] = waitpid(pid);
  check_eq(line, 'again', 'after both flags are down a line passes');
  check_eq(WEXITSTATUS(status), 0, 'and the new writer completes');

  % A reader killed with its read bit up: the writer of that character
  % completes it, the next character waits for the bit to go down.
  simboard('reset');
  cbSetPortDirection(1, 10, 1); cbSetPortDirection(1, 11, 1);
  reader = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                    'cbSetPortDirection(0, 14, 1); fclose(fopen(''reader.ready'', ''w'')); ' ...
                    'while cbReadPort(0, 11) == 0, end; cbReadPort(0, 10); cbWritePort(0, 14, 1); pause(60)"'], mexdir);
  pid = system(['exec ' reader ' > reader.out 2>&1'], false, 'async');
  t = tic;
  while ~exist('reader.ready', 'file') && toc(t) < 20, pause(0.05); end   % the reader is polling
  check_error(@() cbPushText(1, 'ab', 3), '*** Receiver bit read timeout 1', 'a writer facing a reader that stopped mid-handshake');
  kill(pid, 9); waitpid(pid);
  check_eq(cbReadPort(1, 14), 1, 'the dead reader''s bit stays up');

  % Rig files that cannot serve: statuses and texts, never a crash.
  work = getenv('DAQGATE_TEST_WORK');
  truncated = fullfile(work, 'truncated-rig');
  fid = fopen(truncated, 'w'); fwrite(fid, 'DAQGRIG'); fclose(fid);
  other = fullfile(work, 'other-rig');
  copyfile(getenv('DAQGATE_RIG'), other);
  fid = fopen(other, 'r+'); fseek(fid, 8, 'bof'); fwrite(fid, 99, 'uint32'); fclose(fid);
  notes = fullfile(work, 'notes.txt');
  fid = fopen(notes, 'w'); fprintf(fid, 'my thesis data\n'); fclose(fid);
  cases = {truncated, 'another layout or version'; other, 'another layout or version'; ...
           '/proc/version', 'cannot be opened'; fullfile(work, 'missing', 'rig'), 'cannot be opened'; ...
           notes, 'is not a rig and is left as it is'; work, 'is not a regular file'};
  for i = 1:rows(cases)
    [path, text] = cases{i, :};
    probe = sprintf(['DAQGATE_RIG=%s octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                     '[v, s] = cbReadPort(0, 0); w = cbWritePort(0, 0, 1); t = cbErrorText(s); ' ...
                     'printf(''%%d %%d %%s\\n'', v, s, t); exit(s == 0 || w ~= s)" 2>/dev/null'], path, mexdir);
    [status, out] = system(probe);
    check_eq(status, 0, ['a status, not a crash: ' path]);
    assert(~isempty(strfind(out, text)), 'the text for %s says "%s": %s', path, text, strtrim(out));
  end
  % The refused file is left as it was.
  check_eq(fileread(truncated), 'DAQGRIG', 'a foreign file is never rewritten');
  check_eq(fileread(notes), sprintf('my thesis data\n'), 'nor is a file that holds no rig');
end
