function cmd = octave_peer(code)
  % cmd = octave_peer(CODE) is a shell command that runs the Octave CODE in
  % a second host process on the same rig, with the gateways on its path.
  mexdir = fileparts(which('cbReadPort'));
  cmd = sprintf('octave-cli --norc --no-history --quiet --eval "addpath(''%s''); %s"', mexdir, code);
end
