function text = write_results(results, measured)
  % write_results(RESULTS, MEASURED) writes the benchmark table of the rows
  % MEASURED, with the machine, the date and Octave's version above it, in
  % markdown to the file RESULTS, prints the same text and returns it.
  %
  % MEASURED is a struct array, a row each (run_all makes them): measure,
  % size, ours and reference are texts; ratio a number; runs the lowest
  % and highest of the single ratios behind a median, or empty; kept
  % whether a sustained run kept up, or empty; target a struct of op and
  % bound, from which both the target's text and the verdict are made:
  %
  %   op '>='                met when ratio >= bound, shown as '>= 0.95'
  %   op 'kept up'           met when the run kept up
  %   op 'context', 'reported'  no target (shown in brackets): met
  lines = {'# daqgate benchmark results', '', machine_line(), ''};
  rows = {};
  met = false(1, numel(measured));
  for i = 1:numel(measured)
    r = measured(i);
    [target, met(i)] = judge(r);
    rows{end+1} = sprintf('| %s | %s | %s | %s | %.2f | %s | %s |', r.measure, r.size, r.ours, ...
                          r.reference, r.ratio, target, merge(met(i), 'yes', 'no'));
  end
  lines = [lines, summary_lines(measured, met), {'', ...
           'Each ratio is measured in the same run against its reference (higher is better for daqgate).', '', ...
           '| measure | size | daqgate | reference | ratio | target | met |', '|---|---|---|---|---|---|---|'}, rows];
  text = sprintf('%s\n', lines{:});
  fid = fopen(results, 'w');
  if fid < 0
    error('write_results: cannot write %s', results);
  end
  fputs(fid, text);
  fclose(fid);
  fputs(stdout, text);
end

% The summary docs/benchmarks.md carries, between its two marks: for each measure,
% how many of its rows with a target met it.
function lines = summary_lines(measured, met)
  titles = {'a gateway call, against the host''s own cost of a call', ...
            'the text link between two processes, against a bare handshake', ...
            'a foreground scan, against its floor: the host''s result and the driver''s conversions', ...
            'a background fetch, against its floor of the same kind; sustained rates', ...
            'background acquisition at 20 M samples/s'};
  lines = {'<!-- summary -->', '| measure | targets met |', '|---|---|'};
  for n = 1:numel(titles)
    number = sprintf('%d.', n);
    mine = strncmp({measured.measure}, number, numel(number));
    targeted = mine & arrayfun(@(r) any(strcmp(r.target.op, {'>=', 'kept up'})), measured);
    if any(mine)
      lines{end+1} = sprintf('| %d. %s | %d of %d |', n, titles{n}, sum(met & targeted), sum(targeted));
    end
  end
  lines{end+1} = '<!-- end of summary -->';
end

% The row's target as shown, and whether the row meets it.
function [text, met] = judge(r)
  switch r.target.op
    case '>='
      text = sprintf('>= %.2f', r.target.bound);
      met = r.ratio >= r.target.bound;
    case 'kept up'
      text = 'kept up';
      met = logical(r.kept);
    case {'context', 'reported'}
      text = ['(' r.target.op ')'];
      met = true;
    otherwise
      error('write_results: row ''%s'' has a target of no known kind: ''%s''', r.measure, r.target.op);
  end
  if ~isempty(r.runs)
    text = sprintf('%s (runs %.2f-%.2f)', text, r.runs);
  end
end

function line = machine_line()
  [~, machine] = system('uname -srm');
  line = sprintf('%s, %d cores, %s, Octave %s', strtrim(machine), nproc(), ...
                 datestr(now(), 'yyyy-mm-dd HH:MM'), OCTAVE_VERSION);
end
