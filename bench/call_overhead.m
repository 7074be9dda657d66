function cases = call_overhead(calls, reps)
  % cases = call_overhead(CALLS, REPS) times CALLS calls of every gateway
  % that takes scalars (and cbSetGainQueue with a queue of 8), each against
  % mexnull called with the same arguments: what the host alone spends on
  % such a call.  The two loops run in turn REPS times (7), their order
  % swapped each time, so that a drift of the machine meets both alike.
  % One struct a case: name, arguments, gateway and mexnull calls/s
  % (medians) and the ratios of each repetition (mexnull time / gateway
  % time: 1 is the host's floor).
  if nargin < 1, calls = 100000; end
  if nargin < 2, reps = 7; end
  cbSetPortDirection(0, 10, 1);
  table = {'cbReadPort',         'cbReadPort(1, 10)',           'mexnull(1, 10)';
           'cbWritePort',        'cbWritePort(0, 10, 1)',       'mexnull(0, 10, 1)';
           'cbSetPortDirection', 'cbSetPortDirection(0, 10, 1)', 'mexnull(0, 10, 1)';
           'cbBoardLabel',       'cbBoardLabel(0)',             'mexnull(0)';
           'cbErrorText',        'cbErrorText(1)',              'mexnull(1)';
           'cbReadAnalog',       'cbReadAnalog(0, 9, 0)',       'mexnull(0, 9, 0)';
           'cbWriteAnalog',      'cbWriteAnalog(0, 0, 0, 1.5)', 'mexnull(0, 0, 0, 1.5)';
           'cbQueryScanState',   'cbQueryScanState(0, 1)',      'mexnull(0, 1)';
           'cbHaltBackground',   'cbHaltBackground(0, 1)',      'mexnull(0, 1)';
           'mexsmoke',           'mexsmoke(3)',                 'mexnull(3)';
           'cbSetGainQueue',     'cbSetGainQueue(0, q, g, 8)',  'mexnull(0, q, g, 8)'};
  q = 0:7; g = zeros(1, 8);   % a queue of 8 channels, all on range 0
  cases = struct('name', table(:, 1), 'arguments', table(:, 2), 'gateway', 0, 'host', 0, 'ratios', []);
  for c = 1:rows(table)
    gateway = zeros(reps, 1); host = zeros(reps, 1);
    for rep = 1:reps
      if mod(rep, 2)
        gateway(rep) = time_loop(table{c, 2}, calls, q, g);
        host(rep) = time_loop(table{c, 3}, calls, q, g);
      else
        host(rep) = time_loop(table{c, 3}, calls, q, g);
        gateway(rep) = time_loop(table{c, 2}, calls, q, g);
      end
    end
    cases(c).gateway = calls / median(gateway);
    cases(c).host = calls / median(host);
    cases(c).ratios = host ./ gateway;
  end
end

function seconds = time_loop(statement, calls, q, g)
  % A plain loop of direct calls, as a script would make them: the loop is
  % parsed once, then runs as a script's loop runs.
  eval(sprintf('t = tic; for i = 1:%d, %s; end; seconds = toc(t);', calls, statement));
end
