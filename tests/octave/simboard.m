function out = simboard(varargin)
  % out = simboard(ARGS...) runs the simboard tool on the test's rig and
  % returns what it printed; a failing run is an error.
  cmd = getenv('DAQGATE_SIMBOARD');
  for i = 1:numel(varargin)
    cmd = [cmd ' ' varargin{i}];
  end
  [status, out] = system(cmd);
  if status ~= 0
    error('simboard %s failed (%d): %s', strjoin(varargin, ' '), status, out);
  end
end
