function [line, calls] = fetch_line(reader, board, seconds, buffSize)
  % [line, calls] = fetch_line(READER, BOARD, SECONDS, BUFFSIZE) calls the
  % reader gateway as a script does, until it returns a text or SECONDS
  % have passed; a reader returns '' at once while no request is up.
  if nargin < 4, buffSize = 16; end
  line = '';
  calls = 0;
  start = tic;
  while isempty(line) && toc(start) < seconds
    line = reader(board, 5, buffSize);
    calls = calls + 1;
  end
end
