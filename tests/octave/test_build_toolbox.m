function test_build_toolbox()
  % The Octave path of scripts/build_toolbox.m: one gateway of each family
  % built with Octave's own mex against the simulated driver, then used.
  mexdir = fileparts(which('cbReadPort'));
  build = fileparts(mexdir);
  here = fileparts(mfilename('fullpath'));
  root = fileparts(fileparts(here));
  out = fullfile(getenv('DAQGATE_TEST_WORK'), 'toolbox');
  addpath(fullfile(root, 'scripts'));
  built = {'cbReadPort', 'cbWritePort', 'cbBoardLabel', 'cbErrorText', 'cbFetchText', 'cbPushText', ...
           'cbReadAnalog', 'cbReadAnalogScan', 'cbNewSampleBuffer', 'mexsmoke'};
  build_toolbox(out, fullfile(build, 'lib', 'libcbw32.so'), built);
  % Each imports the driver operations of its row of the list and no
  % others, as the CMake build's do: a reader no error text, a buffer's
  % allocation nothing of the scans.
  imports = sprintf('DAQGATE_ONLY="%s" %s %s .mex', strjoin(built, ' '), ...
                    fullfile(root, 'tests', 'manifest', 'check_imports'), out);
  [status, said] = system(imports);
  check_eq(status, 0, ['build_toolbox''s gateways import what the list says: ' said]);
  check_eq(numel(dir(fullfile(out, '*.mex'))), numel(built), 'build_toolbox builds the gateways it is asked for');
  message = 'no error';
  try
    build_toolbox(out, '', {'cbReadPort', 'cbNoSuchGateway'});
  catch err
    message = err.message;
  end
  check_eq(message, 'build_toolbox: no gateway named cbNoSuchGateway in the list', 'an unknown gateway is refused');
  % A second Octave sees only the freshly built toolbox.
  use = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                 'assert(strcmp(fileparts(which(''cbReadPort'')), ''%s'')); ' ...
                 '[n, s] = cbBoardLabel(0); assert(s == 0 && ~isempty(n)); ' ...
                 'assert(mexsmoke(4) == 8); assert(cbWritePort(0, 1, 5) ~= 0); ' ...
                 'assert(strcmp(cbFetchText(0, 1, 8), '''')); [v, s] = cbReadAnalog(0, 14, 0); assert(s == 0); ' ...
                 'assert(~isempty(strfind(evalc(''help cbReadPort''), ''cbReadPort(boardNum, portNum)''))); ' ...
                 'assert(strcmp(fileparts(which(''daqgate.read'')), fullfile(''%s'', ''+daqgate''))); ' ...
                 'assert(isequal(size(daqgate.read(0, 14, 1000, 0.01)), [10 1])); ' ...
                 'assert(~isempty(strfind(evalc(''help daqgate.read''), ''daqgate.read(board, channels, rate, duration)''))); exit(0)"'], ...
                out, out, out);
  check_eq(system(use), 0, 'the gateways built by build_toolbox work, help and the daqgate functions included');
end
