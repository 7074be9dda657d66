function done_checks()
  % done_checks() ends a test: prints the counts and exits with the failures.
  global daqgate_passed daqgate_failed
  if isempty(daqgate_passed), daqgate_passed = 0; daqgate_failed = 0; end
  printf('%d passed, %d failed\n', daqgate_passed, daqgate_failed);
  exit(daqgate_failed > 0 || daqgate_passed == 0);
end
