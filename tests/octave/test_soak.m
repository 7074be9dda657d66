function test_soak()
  % Short soaks in the suite; scripts/soak runs them for as long as asked.
  seconds = str2double(getenv('DAQGATE_SOAK_SECONDS'));
  if isnan(seconds), seconds = 3; end
  lines = str2double(getenv('DAQGATE_SOAK_LINES'));
  if isnan(lines), lines = 200; end
  % Each soak raises an error naming what went wrong.
  [scans, fetches, overflows] = soak_background(seconds, 4e6);
  assert(scans > 0, 'background soak: no scans');
  printf('background soak: %d s at 4 M samples/s, %d scans in %d fetches, none lost, repeated or misplaced; %d overflows of fetches later than the ring lasts\n', ...
         seconds, scans, fetches, overflows);
  sent = soak_link(lines, 300);
  printf('link soak: %d lines of random bytes between two processes, each whole\n', sent);
end
