function test_build_toolbox()
  % The Octave path of scripts/build_toolbox.m: one gateway of each family
  % built with Octave's own mex against the simulated driver, then used.
  mexdir = fileparts(which('cbReadPort'));
  build = fileparts(mexdir);
  here = fileparts(mfilename('fullpath'));
  root = fileparts(fileparts(here));
  out = fullfile(getenv('DAQGATE_TEST_WORK'), 'toolbox');
  addpath(fullfile(root, 'scripts'));
  build_toolbox(out, fullfile(build, 'lib', 'libcbw32.so'), ...
                {'cbReadPort', 'cbWritePort', 'cbBoardLabel', 'cbFetchText', 'cbReadAnalog', 'mexsmoke'});
  % A second Octave sees only the freshly built toolbox.
  use = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                 'assert(strcmp(fileparts(which(''cbReadPort'')), ''%s'')); ' ...
                 '[n, s] = cbBoardLabel(0); assert(s == 0 && ~isempty(n)); ' ...
                 'assert(mexsmoke(4) == 8); assert(cbWritePort(0, 1, 5) ~= 0); ' ...
                 'assert(strcmp(cbFetchText(0, 1, 8), '''')); [v, s] = cbReadAnalog(0, 14, 0); assert(s == 0); ' ...
                 'assert(~isempty(strfind(evalc(''help cbReadPort''), ''cbReadPort(boardNum, portNum)''))); exit(0)"'], out, out);
  check_eq(system(use), 0, 'the gateways built by build_toolbox work, help included');
  done_checks();
end
