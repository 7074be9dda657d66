function wait_for(file)
  % wait_for(FILE): until FILE exists, as long as a busy machine may take to
  % start a second Octave.
  clock = tic;
  while ~exist(file, 'file') && toc(clock) < 60
    pause(0.02);
  end
end
