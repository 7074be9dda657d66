function rows = gateway_list(file)
  % rows = gateway_list() reads the list of gateways (gateways.list at the
  % top of the tree) into a struct array, one element a row in the list's
  % order, with the fields name, family, section, summary and operations
  % (the driver operations the gateway calls: a cell array of texts, empty
  % for none).  rows = gateway_list(FILE) reads FILE.
  %
  % A row is "name | family | section | summary | operations"; lines that
  % start with '#' and blank lines are not rows.  A malformed row is an
  % error that gives it.  This is the list's reader for build_toolbox.m in
  % MATLAB and Octave (and so for the Octave package); CMake and the
  % tree's checks read it with cmake/manifest.cmake.
  if nargin < 1
    file = fullfile(fileparts(fileparts(mfilename('fullpath'))), 'gateways.list');
  end
  text = fileread(file);
  lines = strsplit(text, {sprintf('\r\n'), sprintf('\n')});
  rows = struct('name', {}, 'family', {}, 'section', {}, 'summary', {}, 'operations', {});
  for i = 1:numel(lines)
    line = strtrim(lines{i});
    if isempty(line) || line(1) == '#', continue; end
    fields = strtrim(strsplit(line, '|'));
    if numel(fields) ~= 5 || isempty(regexp(fields{1}, '^[A-Za-z]\w*$', 'once'))
      error('daqgate:list', '%s: a row is not ''name | family | section | summary | operations'': %s', ...
            file, line);
    end
    operations = {};
    if ~strcmp(fields{5}, '-')
      operations = regexp(fields{5}, '\S+', 'match');
    end
    rows(end + 1) = struct('name', fields{1}, 'family', fields{2}, 'section', fields{3}, ...
                           'summary', fields{4}, 'operations', {operations});
  end
end
