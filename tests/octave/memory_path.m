function v = memory_path(code, calls, expected, v)
  % v = memory_path(CODE, CALLS, EXPECTED, V) checks that the Octave
  % statements CODE, run CALLS times in a loop as a script would, leave the
  % process's memory flat: after a warm-up of 10,000 runs (twice CALLS when
  % that is fewer) the next CALLS runs may grow its own resident memory
  % (see memory_rss) by at most 64 kB: over 30,000 runs, a leak of a few
  % bytes a call is past it, and the smallest block a leak could leave
  % (a small allocation, some 32 bytes with its header) far past it.
  % EXPECTED is '' when CODE succeeds, or the end of the error message CODE
  % raises, or a cell of such ends when the scheduler picks among paths
  % that hold the same memory (a wait that times out on its first poll when
  % the process is descheduled there); erring runs are caught one by one
  % with try/catch.  A first single run checks that CODE takes a path
  % EXPECTED names.
  %
  % CODE is evaluated in a workspace of its own where the struct V holds
  % what it needs (buffer handles, prebuilt lists, a position carried from
  % one fetch to the next); V comes back as the runs left it.  One line per
  % path reports its growth.  DAQGATE_MEMORY_WINDOWS=N measures N windows
  % of CALLS runs one after the other, each held to the same limit: a leak
  % grows every window, a one-off growth of the heap only the first.
  limit = 64;
  if nargin < 4, v = struct(); end
  warm = min(10000, 2 * calls);
  windows = str2double(getenv('DAQGATE_MEMORY_WINDOWS'));
  if isnan(windows) || windows < 1, windows = 1; end

  % The first run: the path is the one named, or measuring it says nothing.
  [v, message] = memory_run(code, 1, false, v);
  if isempty(expected)
    ok = isempty(message);
    what = sprintf('%s: raised "%s", expected to succeed', code, message);
  else
    ends = cellstr(expected);
    ok = any(cellfun(@(e) numel(message) >= numel(e) && strcmp(message(end-numel(e)+1:end), e), ends));
    if isempty(message), message = 'no error'; end
    what = sprintf('%s: raised "%s", expected "%s"', code, message, strjoin(ends, '" or "'));
  end
  assert(ok, '%s', what);

  erring = ~isempty(expected);
  [v, message] = memory_run(code, warm, erring, v);
  for w = 1:windows
    if isempty(message)
      before = memory_rss();
      [v, message] = memory_run(code, calls, erring, v);
      growth = memory_rss() - before;
    end
    if ~isempty(message)   % a path that succeeded once failed in a loop
      error('%s: raised "%s" in a loop of calls', code, message);
    end
    printf('memory: %-72s %7d calls %+7d kB\n', code, calls, growth);
    assert(growth <= limit, '%s: memory grew by %d kB over %d calls (at most %d kB)', ...
           code, growth, calls, limit);
  end
end

function [v, memory_message] = memory_run(memory_code, memory_calls, memory_erring, v)
  % Runs CODE CALLS times in a loop parsed once; an erring CODE is caught
  % on every run.  Returns the message of an error that left the loop, ''
  % when none did.  The names here keep out of CODE's way.
  if memory_erring
    memory_loop = ['for memory_i = 1:memory_calls, try, ' memory_code '; catch, end, end'];
  else
    memory_loop = ['for memory_i = 1:memory_calls, ' memory_code '; end'];
  end
  memory_message = '';
  try
    eval(memory_loop);
  catch memory_err
    memory_message = memory_err.message;
  end
end
