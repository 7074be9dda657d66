function test_bench_results()
  % The benchmark table as scripts/bench writes it (bench/write_results.m):
  % each row's target, given once as an operator and a bound, makes both
  % the target's text and the verdict; the file and the printed text are
  % the same.
  addpath(fullfile(fileparts(mfilename('fullpath')), '..', '..', 'bench'));
  row = @(ratio, target, varargin) struct('measure', 'm', 'size', 's', 'ours', 'o', 'reference', 'r', ...
                                          'ratio', ratio, 'target', target, 'runs', [], 'kept', [], varargin{:});
  at_least = @(bound) struct('op', '>=', 'bound', bound);
  cases = {row(0.951, at_least(0.95)), '| m | s | o | r | 0.95 | >= 0.95 | yes |', 'above the bound';
           row(0.95, at_least(0.95)), '| m | s | o | r | 0.95 | >= 0.95 | yes |', 'on the bound';
           row(0.9499, at_least(0.95)), '| m | s | o | r | 0.95 | >= 0.95 | no |', 'below the bound, shown rounded';
           row(1.2, at_least(1)), '| m | s | o | r | 1.20 | >= 1.00 | yes |', 'a bound of 1';
           row(0.98, at_least(0.95), 'runs', [0.79 1.626]), '| m | s | o | r | 0.98 | >= 0.95 (runs 0.79-1.63) | yes |', 'the runs beside the target';
           row(0.5, struct('op', 'kept up', 'bound', []), 'kept', true), '| m | s | o | r | 0.50 | kept up | yes |', 'kept up';
           row(2, struct('op', 'kept up', 'bound', []), 'kept', false), '| m | s | o | r | 2.00 | kept up | no |', 'not kept up, whatever the ratio';
           row(0.1, struct('op', 'context', 'bound', [])), '| m | s | o | r | 0.10 | (context) | yes |', 'context';
           row(0.37, struct('op', 'reported', 'bound', [])), '| m | s | o | r | 0.37 | (reported) | yes |', 'reported'};
  file = fullfile(tempdir(), sprintf('daqgate-results-%d.md', getpid()));
  for i = 1:rows(cases)
    text = evalc('write_results(file, cases{i, 1});');
    lines = strsplit(strtrim(text), "\n");
    assert(strcmp(lines{end}, cases{i, 2}), '%s: got "%s"', cases{i, 3}, lines{end});
    assert(strcmp(fileread(file), text), '%s: the file holds what was printed', cases{i, 3});
  end

  measured = [cases{:, 1}];
  text = evalc('write_results(file, measured);');
  lines = strsplit(text, "\n", "CollapseDelimiters", false);
  assert(strcmp(lines{1}, '# daqgate benchmark results'), 'the title first');
  assert(~isempty(regexp(lines{3}, ', \d+ cores, \d{4}-\d\d-\d\d \d\d:\d\d, Octave ', 'once')), 'the machine line: %s', lines{3});
  assert(any(strcmp(lines, '| measure | size | daqgate | reference | ratio | target | met |')), 'the table''s head');
  check_eq(sum(strncmp(lines, '| m |', 5)), rows(cases), 'a line a row');
  delete(file);

  % The summary: each measure's rows with a target, and those met.
  numbered = @(measure, ratio, target) row(ratio, target, 'measure', measure);
  kept_up = struct('op', 'kept up', 'bound', []);
  measured = [numbered('1. a', 1, at_least(0.95)), numbered('1. b', 0.9, at_least(0.95)), ...
              numbered('1. c', 0.1, struct('op', 'context', 'bound', [])), ...
              setfield(numbered('5. d', 1, kept_up), 'kept', true), numbered('2. e', 2, at_least(0.8)), ...
              numbered('4. f', 0.87, at_least(0.87)), numbered('3. g', 0.86, at_least(0.87)), ...
              numbered('4. h', 0.5, struct('op', 'reported', 'bound', []))];
  text = evalc('write_results(file, measured);');
  lines = strsplit(text, "\n", "CollapseDelimiters", false);
  first = find(strcmp(lines, '<!-- summary -->'));
  check_eq(lines(first:first + 8), ...
           {'<!-- summary -->', '| measure | targets met |', '|---|---|', ...
            '| 1. a gateway call, against the host''s own cost of a call | 1 of 2 |', ...
            '| 2. the text link between two processes, against a bare handshake | 1 of 1 |', ...
            '| 3. a foreground scan, against its floor: the host''s result and the driver''s conversions | 0 of 1 |', ...
            '| 4. a background fetch, against its floor of the same kind; sustained rates | 1 of 1 |', ...
            '| 5. background acquisition at 20 M samples/s | 1 of 1 |', '<!-- end of summary -->'}, ...
           'the summary: measures without rows left out, rows of no target not counted');
  delete(file);

  % docs/benchmarks.md carries the summary of the results as they stand.
  top = fullfile(fileparts(mfilename('fullpath')), '..', '..');
  block = @(text) regexp(text, '<!-- summary -->.*<!-- end of summary -->', 'match', 'once');
  results = block(fileread(fullfile(top, 'bench', 'results.md')));
  assert(~isempty(results), 'bench/results.md has a summary');
  check_eq(block(fileread(fullfile(top, 'docs', 'benchmarks.md'))), results, ...
           'the summary in docs/benchmarks.md is that of bench/results.md');

  check_error(@() write_results(file, row(1, struct('op', '<', 'bound', 1))), ...
              'write_results: row ''m'' has a target of no known kind: ''<''', 'a target of no known kind');
end
