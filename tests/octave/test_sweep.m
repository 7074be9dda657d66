function test_sweep()
  % The bad-input sweep, in a child Octave process that must survive it;
  % then the policy it shows: every refusal is the gateway's own "*** "
  % message (the example's have none), or the host's own error for
  % outputs the gateway does not have.
  report = fullfile(getenv('DAQGATE_TEST_WORK'), 'sweep-report.txt');
  mexdir = fileparts(which('cbReadPort'));
  here = fileparts(mfilename('fullpath'));
  status = system(sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); addpath(''%s''); ' ...
                           'sweep_inputs(''%s''); exit(0)" > sweep.out 2>&1'], mexdir, here, report));
  check_eq(status, 0, 'the host survives every combination');
  lines = strsplit(strtrim(fileread(report)), "\n");
  assert(strncmp(lines{end}, 'sweep done: ', 12), 'the sweep ran to its end');
  unexpected = {};
  raised = 0;
  for i = 1:numel(lines) - 1
    line = lines{i};
    k = strfind(line, ': raised: ');
    if isempty(k), continue; end
    raised = raised + 1;
    name = strtok(line);
    message = line(k(1) + 10:end);
    ours = ~isempty(strfind(message, [name ': *** ']));
    example = strcmp(name, 'mexsmoke') && any(strcmp(message, {'mexsmoke: One input required.', ...
                'mexsmoke: Too many output arguments', 'mexsmoke: Input must be a noncomplex scalar double.'}));
    host = ~isempty(regexp(message, 'element number \d+ undefined in return list|called with too many outputs', 'once'));
    if ~(ours || example || host)
      unexpected{end+1} = line;
    end
  end
  for i = 1:numel(unexpected)
    printf('unexpected: %s\n', unexpected{i});
  end
  check_eq(numel(unexpected), 0, 'every refusal follows the policy');
  printf('%s; %d raised, the rest ended normally. Report: %s\n', lines{end}, raised, report);
  copyfile(report, fullfile(fileparts(mexdir), 'sweep-report.txt'));
end
