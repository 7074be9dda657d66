function rates = call_overhead(calls)
  % rates = call_overhead(CALLS) times CALLS calls of each of cbReadPort,
  % cbWritePort, cbReadAnalog and cbQueryScanState, of mexsmoke (the host's
  % floor for a MEX call of one argument) and of mexnull with each
  % gateway's arguments (the host's floor for a call with as many); best of
  % three runs, calls per second, as a struct with one field per case.
  if nargin < 1, calls = 200000; end
  cbSetPortDirection(0, 10, 1);
  cases = {'mexsmoke', @() mexsmoke(3); 'cbReadPort', @() cbReadPort(1, 10); ...
           'cbWritePort', @() cbWritePort(0, 10, 1); 'cbReadAnalog', @() cbReadAnalog(0, 9, 0); ...
           'cbQueryScanState', @() cbQueryScanState(0, 1); 'mexnull2', []; 'mexnull3', []};
  rates = struct();
  for c = 1:rows(cases)
    best = Inf;
    for run = 1:3
      best = min(best, time_calls(cases{c, 1}, calls));
    end
    rates.(cases{c, 1}) = calls / best;
  end
end

function seconds = time_calls(name, calls)
  % A plain loop of direct calls, as a script would make them.
  switch name
    case 'mexsmoke'
      t = tic; for i = 1:calls, mexsmoke(3); end; seconds = toc(t);
    case 'cbReadPort'
      t = tic; for i = 1:calls, cbReadPort(1, 10); end; seconds = toc(t);
    case 'cbWritePort'
      t = tic; for i = 1:calls, cbWritePort(0, 10, 1); end; seconds = toc(t);
    case 'cbReadAnalog'
      t = tic; for i = 1:calls, cbReadAnalog(0, 9, 0); end; seconds = toc(t);
    case 'cbQueryScanState'
      t = tic; for i = 1:calls, cbQueryScanState(0, 1); end; seconds = toc(t);
    case 'mexnull2'
      t = tic; for i = 1:calls, mexnull(1, 10); end; seconds = toc(t);
    case 'mexnull3'
      t = tic; for i = 1:calls, mexnull(0, 10, 1); end; seconds = toc(t);
  end
end
