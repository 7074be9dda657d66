function [rates, floors] = link_throughput(chars, timeOut, measure_floor)
  % [rates, floors] = link_throughput(CHARS, TIMEOUT, MEASURE_FLOOR) times
  % one line of CHARS characters (and its line feed) between two processes,
  % in characters per second: the gateway writer to 'simboard receive',
  % 'simboard send' to the gateway reader, and a gateway writer in a second
  % Octave to the gateway reader.  Both ends are held on processors of
  % their own, the far end on 0 and this one on 1, as the handshake floor
  % holds its two ends.  Every end waits with the limit TIMEOUT in seconds
  % (60 if not given; 0 for none).  MEASURE_FLOOR, if given, is a function
  % that measures the floor's rate: it runs just before each transfer's far
  % end starts and just after it ends, and floors holds the geometric mean
  % of the two for each transfer.  Where the machine places the two
  % processors changes the floor by several times within a minute here;
  % a floor taken beside each transfer meets the same placement.
  if nargin < 1, chars = 100000; end
  if nargin < 2, timeOut = 60; end
  if nargin < 3, measure_floor = @() NaN; end
  floors = zeros(1, 3);
  system(sprintf('taskset -cp 1 %d > /dev/null', getpid()));
  unpin = onCleanup(@() system(sprintf('taskset -cp 0-%d %d > /dev/null', nproc('all') - 1, getpid())));
  sb = ['taskset -c 0 ' getenv('DAQGATE_SIMBOARD')];
  rand('seed', 1);
  line = char(32 + floor(rand(1, chars) * 95));   % printable, no line feed
  work = tempname(); mkdir(work);
  file = fullfile(work, 'line');
  fid = fopen(file, 'w'); fwrite(fid, [line char(10)]); fclose(fid);

  % Gateway writer -> simboard receive.
  system([sb ' reset']);
  cbSetPortDirection(0, 10, 1); cbSetPortDirection(0, 11, 1);
  before = measure_floor();
  pid = system(sprintf('%s receive 1 --timeout %g > %s/got 2>&1', sb, timeOut, work), false, 'async');
  pause(0.3);
  t = tic;
  n = cbPushText(0, [line char(10)], timeOut);
  writer = toc(t);
  waitpid(pid);
  floors(1) = sqrt(before * measure_floor());
  got = fileread(fullfile(work, 'got'));
  assert(n == chars + 1 && strcmp(got(1:end-1), line), 'the writer line did not arrive whole');

  % simboard send -> gateway reader.
  system([sb ' reset']);
  cbSetPortDirection(0, 14, 1);
  before = measure_floor();
  pid = system(sprintf('%s send 1 --timeout %g --file %s', sb, timeOut, file), false, 'async');
  received = '';
  while isempty(received)
    t = tic;
    received = cbFetchText(0, timeOut, 65536);
    reader = toc(t);
  end
  waitpid(pid);
  floors(2) = sqrt(before * measure_floor());
  assert(strcmp(received, line), 'the reader line did not arrive whole');

  % Gateway writer in a second Octave -> gateway reader here.
  system([sb ' reset']);
  before = measure_floor();
  [received, both] = gateway_line(sprintf('fileread(''%s'')', file), 'taskset -c 0', 65536, timeOut);
  floors(3) = sqrt(before * measure_floor());
  assert(strcmp(received, line), 'the line between gateways did not arrive whole');
  confirm_recursive_rmdir(false, 'local'); rmdir(work, 's');

  rates = (chars + 1) ./ [writer reader both];
end
