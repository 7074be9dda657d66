function status = finished(pid)
  % status = finished(PID) waits for a process started by spawn() and
  % returns its exit status.
  [~, raw] = waitpid(pid);
  status = WEXITSTATUS(raw);
end
