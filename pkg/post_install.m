function post_install(desc)
  % Octave finds the help of a MEX file in a comment-only NAME.m in the
  % folder of NAME.mex; pkg install puts the two in different folders, so
  % the help files join the gateways in the architecture folder.
  found = dir(fullfile(desc.archprefix, '*', 'cbReadPort.mex'));
  if isempty(found)
    error('daqgate: post_install: the built gateways are not under %s', desc.archprefix);
  end
  archdir = found(1).folder;
  helps = dir(fullfile(desc.dir, '*.m'));
  for i = 1:numel(helps)
    name = helps(i).name;
    if exist(fullfile(archdir, [name(1:end-2) '.mex']), 'file')
      movefile(fullfile(desc.dir, name), fullfile(archdir, name));
    end
  end
end
