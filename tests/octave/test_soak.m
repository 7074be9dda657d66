function test_soak()
  % Short soaks in the suite; scripts/soak runs them for as long as asked.
  seconds = str2double(getenv('DAQGATE_SOAK_SECONDS'));
  if isnan(seconds), seconds = 3; end
  lines = str2double(getenv('DAQGATE_SOAK_LINES'));
  if isnan(lines), lines = 200; end
  try
    [scans, fetches, overflows] = soak_background(seconds, 4e6);
    check(scans > 0, 'background soak');
    printf('background soak: %d s at 4 M samples/s, %d scans in %d fetches, none lost, repeated or misplaced; %d overflows of fetches later than the ring lasts\n', ...
           seconds, scans, fetches, overflows);
  catch err
    check(false, err.message);
  end
  try
    sent = soak_link(lines, 300);
    check(true, 'link soak');
    printf('link soak: %d lines of random bytes between two processes, each whole\n', sent);
  catch err
    check(false, err.message);
  end
  done_checks();
end
