function build_toolbox(outdir, driver, names)
  % build_toolbox(OUTDIR, DRIVER) builds every gateway with the host's own
  % mex command, in MATLAB or in Octave, into OUTDIR (default: mex/ beside
  % this folder), linking DRIVER: on Windows the board's import library
  % (e.g. 'C:\...\cbw32.lib'); elsewhere the simulated driver
  % (e.g. 'build/lib/libcbw32.so', from the CMake build).
  % build_toolbox(OUTDIR, DRIVER, NAMES) builds only the gateways NAMES.
  %
  % The help files (help/NAME.m) are copied beside the gateways.
  %
  % MATLAB on Windows: set up mex with 'mex -setup C++' (MinGW-w64 or
  % Microsoft Visual C++), then
  %   build_toolbox('C:\daqgate\mex', 'C:\...\cbw32.lib')
  % with the import library that came with the board's driver.  A gateway
  % finds cbw32.dll beside it or on the PATH.  To try the gateways on the
  % simulated board first, link the import library of the Windows build
  % (scripts/windows: build-win64/lib/libcbw32.a, build-win32 for 32-bit
  % MATLAB) and copy build-win64/mex/cbw32.dll beside them; the simulated
  % board's rig file is %TEMP%\daqgate-rig, or DAQGATE_RIG, and
  % build-win64/bin/simboard.exe drives it.
  root = fileparts(fileparts(mfilename('fullpath')));
  if nargin < 1 || isempty(outdir), outdir = fullfile(root, 'mex'); end
  if nargin < 2, driver = ''; end
  in_octave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
  if ~exist(outdir, 'dir'), mkdir(outdir); end

  % The gateways and their families, from the list of gateways; each
  % family's sources besides its gateways' own are its shared procedure.
  frame = {fullfile('frame', 'frame.cpp')};
  gateways = read_gateways(fullfile(root, 'gateways.list'));
  for i = 1:size(gateways, 1)
    family = gateways{i, 2};
    own = strcat(gateways(strcmp(gateways(:, 2), family), 1), '.cpp');
    found = dir(fullfile(root, family, '*.cpp'));
    procedure = setdiff({found.name}, own);
    gateways{i, 3} = strcat(family, filesep, procedure);
  end
  if nargin >= 3
    gateways = gateways(ismember(gateways(:, 1), names), :);
  end

  % Driver flags: the import library on Windows, the shared library with a
  % run-time path to it elsewhere.
  driver_flags = {};
  if ~isempty(driver)
    [driver_dir, driver_name] = fileparts(driver);
    if ispc
      driver_flags = {driver};
    else
      driver_flags = {['-L' driver_dir], ['-l' regexprep(driver_name, '^lib', '')], ...
                      ['-Wl,-rpath,' driver_dir]};
    end
  end

  for i = 1:size(gateways, 1)   % (rows() is Octave's only)
    [name, family, family_sources] = gateways{i, :};
    sources = [{fullfile(family, [name '.cpp'])}, family_sources];
    flags = {['-I' fullfile(root, 'frame')], ['-I' fullfile(root, family)]};
    if ~strcmp(family, 'example')
      sources = [sources, frame];
      flags = [flags, driver_flags];
    end
    sources = fullfile(root, sources);
    if in_octave
      flags = [{'-DDAQGATE_OCTAVE_INTERRUPT'}, flags];
      mex('-o', fullfile(outdir, [name '.mex']), flags{:}, sources{:});
    else
      mex('-outdir', outdir, '-output', name, 'CXXFLAGS=$CXXFLAGS -std=c++17', flags{:}, sources{:});
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

function gateways = read_gateways(file)
  % The name and family of every gateway in the list, one row each.
  text = fileread(file);
  lines = strsplit(text, {char([13 10]), char(10)});
  gateways = cell(0, 3);
  for i = 1:numel(lines)
    line = strtrim(lines{i});
    if isempty(line) || line(1) == '#', continue; end
    fields = strtrim(strsplit(line, '|'));
    gateways(end + 1, 1:2) = fields(1:2);
  end
end
