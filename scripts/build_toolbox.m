function build_toolbox(outdir, driver, names)
  % build_toolbox(OUTDIR, DRIVER) builds every gateway with the host's own
  % mex command, in MATLAB or in Octave, into OUTDIR (default: mex/ beside
  % this folder), linking DRIVER: on Windows the board's import library
  % (e.g. 'C:\...\cbw32.lib'); elsewhere the simulated driver
  % (e.g. 'build/lib/libcbw32.so', from the CMake build).  A driver in
  % OUTDIR itself is found beside the gateways wherever the folder goes.
  % build_toolbox(OUTDIR, DRIVER, NAMES) builds only the gateways NAMES.
  %
  % Each gateway is built from its own source and the frame: its family's
  % procedure is inline in the headers of its folder, so that it links
  % exactly the driver operations it calls, as every build of the tree
  % does.  The help files (help/NAME.m) and Contents.m are copied beside
  % the gateways.
  %
  % The code is C++11 and no language flag is passed.  In MATLAB the
  % link's waits end on Ctrl-C through MATLAB's libut (-lut); in Octave
  % through Octave's own check.  MATLAB on Windows (setting up mex, the
  % compilers, which driver to link): the README's "MATLAB and the real
  % board".
  root = fileparts(fileparts(mfilename('fullpath')));
  if nargin < 1 || isempty(outdir), outdir = fullfile(root, 'mex'); end
  if nargin < 2, driver = ''; end
  in_octave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
  if ~exist(outdir, 'dir'), mkdir(outdir); end

  rows = gateway_list(fullfile(root, 'gateways.list'));
  if nargin >= 3
    unknown = setdiff(names, {rows.name});
    if ~isempty(unknown)
      error('daqgate:build', 'build_toolbox: no gateway named %s in the list', strjoin(unknown, ', '));
    end
    rows = rows(ismember({rows.name}, names));
  end

  driver_flags = driver_link_flags(driver, outdir, in_octave);
  host_flags = {'-DDAQGATE_MATLAB_INTERRUPT', '-lut'};
  if in_octave
    host_flags = {'-DDAQGATE_OCTAVE_INTERRUPT'};
    if ~ispc
      % The module exports mexFunction alone, as the CMake build's do.
      host_flags{end + 1} = ['-Wl,--version-script=' fullfile(root, 'frame', 'mexfunction.map')];
    end
  end

  for i = 1:numel(rows)
    name = rows(i).name;
    family = rows(i).family;
    sources = {fullfile(root, family, [name '.cpp'])};
    flags = [{['-I' fullfile(root, 'frame')], ['-I' fullfile(root, family)]}, host_flags];
    if ~strcmp(family, 'example')
      % The example gateway is its own source alone: no frame, no driver.
      sources{end + 1} = fullfile(root, 'frame', 'frame.cpp');
      flags = [flags, driver_flags];
    end
    if in_octave
      mex('-o', fullfile(outdir, [name '.mex']), flags{:}, sources{:});
    else
      mex('-outdir', outdir, '-output', name, flags{:}, sources{:});
    end
    copyfile(fullfile(root, 'help', [name '.m']), fullfile(outdir, [name '.m']));
    fprintf('built %s\n', name);
  end
  copyfile(fullfile(root, 'help', 'Contents.m'), fullfile(outdir, 'Contents.m'));
  % The script functions over the gateways (daqgate.read, ...), a package
  % folder beside them.
  functions = fullfile(outdir, '+daqgate');
  if ~exist(functions, 'dir'), mkdir(functions); end
  copyfile(fullfile(root, 'help', '+daqgate', '*.m'), functions);
end

function flags = driver_link_flags(driver, outdir, in_octave)
  % The import library on Windows; elsewhere the shared library with a
  % run-time path to its folder ($ORIGIN when it lies beside the gateways).
  flags = {};
  if isempty(driver), return; end
  if ispc
    flags = {driver};
    return;
  end
  [driver_dir, driver_name] = fileparts(driver);
  if isempty(driver_dir), driver_dir = pwd; end
  rpath = driver_dir;
  if strcmp(canonical(driver_dir), canonical(outdir))
    rpath = '$ORIGIN';
    if in_octave
      % Octave's mex hands each flag to a shell twice (its mkoctfile in
      % double quotes, then the link line): the dollar must reach the
      % linker whole.
      rpath = '\\\$ORIGIN';
    end
  end
  flags = {['-L' driver_dir], ['-l' regexprep(driver_name, '^lib', '')], ['-Wl,-rpath,' rpath]};
end

function path = canonical(path)
  % The folder's absolute name, for comparing two names of one folder.
  here = pwd;
  cd(path);
  path = pwd;
  cd(here);
end
