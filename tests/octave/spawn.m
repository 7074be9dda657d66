function pid = spawn(cmd, output)
  % pid = spawn(CMD, OUTPUT) starts the shell command CMD in the background,
  % its standard output and error going to the file OUTPUT; finished(pid)
  % waits for it and gives its exit status.
  pid = system(sprintf('exec %s > %s 2>&1', cmd, output), false, 'async');   % exec: pid is the command's
end
