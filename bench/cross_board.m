function costs = cross_board()
  % costs = cross_board() measures what a board-0 fetch costs per sample
  % (nanoseconds, fetch_cost of 100,000 samples) and what a cbReadPort
  % call costs (microseconds), this process held on processor 1, in four
  % settings: the machine quiet; a 20 M samples/s background scan on board 3
  % started here and left alone; the same scan in a second Octave on
  % processor 0, drained by its own fetch loop; and a plain busy loop on
  % processor 0 that calls no driver at all.  One row a setting:
  % [fetch ns/sample, cbReadPort us/call].
  system(sprintf('taskset -cp 1 %d > /dev/null', getpid()));
  unpin = onCleanup(@() system(sprintf('taskset -cp 0-%d %d > /dev/null', nproc('all') - 1, getpid())));
  mexdir = fileparts(which('cbReadPort'));
  costs = zeros(4, 2);
  costs(1, :) = measure();

  ring = 4 * 1250000;   % a quarter of a second at 20 M samples/s
  handle = cbNewSampleBuffer(ring);
  [~, status] = cbReadAnalogBackgroundScan(3, [0 3], ring, 5e6, 0, handle);
  assert(status == 0, cbErrorText(status));
  costs(2, :) = measure();
  cbHaltBackground(3, 1);

  drain = sprintf(['addpath(''%s''); h = cbNewSampleBuffer(%d); ' ...
                   'cbReadAnalogBackgroundScan(3, [0 3], %d, 5e6, 0, h); P = 0; Q = 0; t = tic; ' ...
                   'while toc(t) < 20, [d, s, P, Q] = cbFetchBackgroundData(3, P, Q, %d, [0 3], 0, h); end'], ...
                  mexdir, ring, ring, ring);
  costs(3, :) = beside(sprintf('taskset -c 0 octave-cli --norc --no-history --quiet --eval "%s"', drain));
  costs(4, :) = beside('taskset -c 0 timeout 20 sh -c ''while :; do :; done''');
end

function cost = beside(command)
  % The costs with command running on the other processor.
  pid = system(['exec ' command ' > /dev/null 2>&1'], false, 'async');
  pause(2);   % the other end under way
  cost = measure();
  kill(pid, 15);
  waitpid(pid);
end

function cost = measure()
  ns = fetch_cost(1e5);
  calls = 100000; best = Inf;
  for run = 1:5
    t = tic; for i = 1:calls, cbReadPort(1, 10); end; best = min(best, toc(t));
  end
  cost = [ns(1), best / calls * 1e6];
end
