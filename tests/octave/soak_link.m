function lines = soak_link(count, longest)
  % lines = soak_link(COUNT, LONGEST) sends COUNT lines of random bytes (1
  % to LONGEST bytes from 1-255 but the line feed, then a line feed) from a
  % writer in a second Octave process on board 1 to the reader here on
  % board 0, and checks each arrives whole.  Both ends draw the lines from
  % the same seed.  Errors on the first fault.
  seed = 4242;
  mexdir = fileparts(which('cbReadPort'));
  here = fileparts(mfilename('fullpath'));
  cbSetPortDirection(0, 14, 1);
  writer = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); addpath(''%s''); ' ...
                    'cbSetPortDirection(1, 10, 1); cbSetPortDirection(1, 11, 1); ' ...
                    'for k = 1:%d, line = soak_line(%d, k, %d); ' ...
                    'if cbPushText(1, line, 10) ~= numel(line), exit(2); end, end, exit(0)"'], ...
                   mexdir, here, count, seed, longest);
  pid = system([writer ' > soak-writer.out 2>&1'], false, 'async');
  for k = 1:count
    expected = soak_line(seed, k, longest);
    got = '';
    t = tic;
    while isempty(got) && toc(t) < 20
      got = cbFetchText(0, 10, 64);
    end
    if ~isequal(double(got), double(expected(1:end-1)))
      error('soak: line %d arrived as %d bytes, expected %d', k, numel(got), numel(expected) - 1);
    end
  end
  [~, status] = waitpid(pid);
  if WEXITSTATUS(status) ~= 0, error('soak: the writer failed (%d)', WEXITSTATUS(status)); end
  lines = count;
end
