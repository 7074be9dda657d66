function names = gateway_names()
  % names = gateway_names() is the names of the gateways, in the order of
  % the list of gateways, as the list's reader for the builds gives them.
  here = fileparts(mfilename('fullpath'));
  addpath(fullfile(here, '..', '..', 'scripts'));
  names = {gateway_list().name};
end
