function [received, seconds] = gateway_line(text_code, launcher, buffSize, timeOut)
  % [received, seconds] = gateway_line(TEXT_CODE, LAUNCHER, BUFFSIZE) sends a
  % line from a gateway writer (cbPushText on board 1) in a second Octave,
  % started through LAUNCHER ('' or e.g. 'taskset -c 0'), to the gateway
  % reader here (cbFetchText on board 0, BUFFSIZE its step), the wiring the
  % default one.  TEXT_CODE is the writer's Octave expression for its text;
  % seconds is the time of the reader call that took the line.  Both ends
  % wait with the limit TIMEOUT (60 s if not given; 0 for none).
  if nargin < 4, timeOut = 60; end
  cbSetPortDirection(0, 14, 1);
  mexdir = fileparts(which('cbReadPort'));
  pid = system(sprintf(['exec %s octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                        'cbSetPortDirection(1, 10, 1); cbSetPortDirection(1, 11, 1); ' ...
                        'cbPushText(1, %s, %g);" > /dev/null 2>&1'], launcher, mexdir, text_code, timeOut), false, 'async');
  received = '';
  while isempty(received)
    t = tic;
    received = cbFetchText(0, timeOut, buffSize);
    seconds = toc(t);
  end
  waitpid(pid);
end
