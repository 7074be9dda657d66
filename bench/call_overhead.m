function cases = call_overhead(calls, reps)
  % cases = call_overhead(CALLS, REPS) times CALLS calls of every gateway
  % that takes scalars (and cbSetGainQueue with a queue of 8), each against
  % a yardstick called with the same arguments: what the host alone
  % spends on such a call.  The two loops run in turn REPS times (15), their order
  % swapped each time, so that a drift of the machine meets both alike.
  % The yardstick returns what the gateway returns: a number (mexnull), a
  % text (mexnulltext) or a 1-by-1 matrix (mexnullmatrix).  One struct a
  % case: name, arguments, gateway and yardstick calls/s (medians), and
  % the ratio of each repetition's two loops, run one after the other
  % (yardstick time / gateway time: 1 is the host's floor).  Their median
  % is the figure: a machine that changes pace between repetitions moves
  % both loops of one repetition alike.
  if nargin < 1, calls = 20000; end
  if nargin < 2, reps = 15; end
  cbSetPortDirection(0, 10, 1);
  table = {'cbReadPort',         'cbReadPort(1, 10)',           'mexnull(1, 10)';
           'cbWritePort',        'cbWritePort(0, 10, 1)',       'mexnull(0, 10, 1)';
           'cbSetPortDirection', 'cbSetPortDirection(0, 10, 1)', 'mexnull(0, 10, 1)';
           'cbBoardLabel',       'cbBoardLabel(0)',             'mexnulltext(0)';
           'cbErrorText',        'cbErrorText(1)',              'mexnulltext(1)';
           'cbReadAnalog',       'cbReadAnalog(0, 9, 0)',       'mexnull(0, 9, 0)';
           'cbWriteAnalog',      'cbWriteAnalog(0, 0, 0, 1.5)', 'mexnull(0, 0, 0, 1.5)';
           'cbQueryScanState',   'cbQueryScanState(0, 1)',      'mexnull(0, 1)';
           'cbHaltBackground',   'cbHaltBackground(0, 1)',      'mexnull(0, 1)';
           'mexsmoke',           'mexsmoke(3)',                 'mexnullmatrix(3)';
           'cbSetGainQueue',     'cbSetGainQueue(0, q, g, 8)',  'mexnull(0, q, g, 8)'};
  q = 0:7; g = zeros(1, 8);   % a queue of 8 channels, all on range 0
  cases = struct('name', table(:, 1), 'arguments', table(:, 2), 'host_arguments', table(:, 3), 'gateway', 0, 'host', 0, 'ratios', []);
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
