function check(ok, what)
  % check(OK, WHAT) counts one check of the running test; a failed one is
  % reported with WHAT.  done_checks() prints the counts and exits.
  global daqgate_passed daqgate_failed
  if isempty(daqgate_passed), daqgate_passed = 0; daqgate_failed = 0; end
  if isequal(ok, true)
    daqgate_passed = daqgate_passed + 1;
  else
    daqgate_failed = daqgate_failed + 1;
    printf('FAILED: %s\n', what);
  end
end
