function names = gateway_names()
  % names = gateway_names() is the names of the gateways, in the order of
  % the list of gateways (gateways.list at the top of the tree).
  here = fileparts(mfilename('fullpath'));
  lines = strsplit(fileread(fullfile(here, '..', '..', 'gateways.list')), char(10));
  names = {};
  for i = 1:numel(lines)
    line = strtrim(lines{i});
    if isempty(line) || line(1) == '#', continue; end
    names{end + 1} = strtrim(strtok(line, '|'));
  end
end
