function sweep_inputs(report)
  % sweep_inputs(REPORT) calls every gateway with each argument in turn
  % replaced by values of the wrong kind and edge values, and with more
  % outputs than it has; writes one line per combination to the file
  % REPORT: what was called and how it ended (ok, or the message raised).
  % Run it in a process of its own: it passes if that process survives.
  handle = cbNewSampleBuffer(100);
  gateways = {
    % name, baseline arguments (each call ends at once on a reset rig), outputs
    'cbReadPort',                 {0, 1}, 2
    'cbWritePort',                {0, 1, 0}, 1
    'cbSetPortDirection',         {0, 1, 2}, 1
    'cbBoardLabel',               {0}, 2
    'cbErrorText',                {0}, 1
    'cbPushText',                 {0, 'A', 0.05}, 1
    'QLPushText',                 {0, 'A', 0.05}, 1
    'cbFetchText',                {0, 0.05, 8}, 1
    'QLFetchText',                {0, 0.05, 8}, 1
    'QLFetchTextD',               {0, 0.05, 8}, 1
    'QLPullChars',                {0, 0.05, 8}, 1
    'cbReadAnalog',               {0, 0, 0}, 2
    'cbWriteAnalog',              {0, 0, 0, 1}, 2
    'cbSetGainQueue',             {0, [1 2], [0 0], 2}, 1
    'cbNewSampleBuffer',          {100}, 1
    'cbReadAnalogScan',           {0, [0 1], 2, 1000, 0, handle}, 3
    'cbReadAnalogBackgroundScan', {0, [0 1], 100, 1000, 0, handle}, 2
    'cbFetchBackgroundData',      {0, 0, 0, 100, [0 1], 0, handle}, 4
    'cbQueryScanState',           {0, 1}, 4
    'cbHaltBackground',           {0, 1}, 1
    'mexsmoke',                   {3}, 1
  };
  values = {
    'empty', []; 'char', 'x'; 'cell', {1}; 'struct', struct('a', 1); 'logical', true;
    'complex', 1+2i; 'int32', int32(1); 'uint8', uint8(1); 'single', single(1);
    'sparse', sparse([0 3]); 'NaN', NaN; '+Inf', Inf; '-Inf', -Inf; '2^31', 2^31;
    '-2^31-1', -2^31-1; '1e10', 1e10; 'huge', 2^31-1; 'negative', -1;
    'column', [1; 2]; 'no-buffer', 12345; 'zero', 0; 'fraction', 0.5
  };
  fid = fopen(report, 'w');
  combinations = 0;
  for g = 1:rows(gateways)
    [name, baseline, outputs] = gateways{g, :};
    fn = str2func(name);
    for pos = 1:numel(baseline)
      for v = 1:rows(values)
        args = baseline;
        args{pos} = values{v, 2};
        combinations = combinations + 1;
        fprintf(fid, '%s arg %d = %s: %s\n', name, pos, values{v, 1}, outcome(fn, args, outputs));
        cbHaltBackground(0, 1);   % a background start of the sweep stops here
      end
    end
    combinations = combinations + 1;
    fprintf(fid, '%s with %d outputs: %s\n', name, outputs + 1, outcome(fn, baseline, outputs + 1));
    combinations = combinations + 1;
    fprintf(fid, '%s with %d arguments: %s\n', name, numel(baseline) + 1, outcome(fn, [baseline {0}], outputs));
  end
  fprintf(fid, 'sweep done: %d combinations\n', combinations);
  fclose(fid);
end

function text = outcome(fn, args, outputs)
  out = cell(1, outputs);
  try
    [out{:}] = fn(args{:});
    text = 'ok';
  catch err
    text = ['raised: ' strrep(err.message, sprintf('\n'), ' ')];
  end
end
