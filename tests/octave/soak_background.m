function [scans, fetches] = soak_background(seconds, aggregate)
  % [scans, fetches] = soak_background(SECONDS, AGGREGATE) runs a background
  % scan of channels 0-3 at AGGREGATE samples per second for SECONDS, with
  % channel 1 the counter pattern and the others fixed levels, fetched at
  % random intervals (up to a quarter of the ring's time), and checks every
  % fetch: no scan lost, repeated or misaligned.  Errors on the first fault.
  LSB = 20 / 65536;
  sb = getenv('DAQGATE_SIMBOARD');
  system(sprintf('%s signal 0 0 dc -7.5 && %s signal 0 1 counter && %s signal 0 2 dc 2.5 && %s signal 0 3 dc 9', sb, sb, sb, sb));
  ring = 4 * round(aggregate / 4 / 2);      % half a second of samples
  handle = cbNewSampleBuffer(ring);
  [rate, status] = cbReadAnalogBackgroundScan(0, [0 3], ring, aggregate / 4, 0, handle);
  if status ~= 0, error('soak: the scan did not start: %s', cbErrorText(status)); end
  rand('seed', sum(clock()));
  P = 0; Q = 0; scans = 0; fetches = 0;
  t = tic;
  while toc(t) < seconds
    [data, state, P, Q] = cbFetchBackgroundData(0, P, Q, ring, [0 3], 0, handle);
    fetches = fetches + 1;
    if state ~= 1, error('soak: the scan stopped after %d scans', scans); end
    if ~isempty(data)
      counted = round((data(2, :) + 10) / LSB);
      expected = mod(scans:scans + columns(data) - 1, 65536);
      if ~isequal(counted, expected)
        error('soak: scan lost or repeated after %d scans', scans);
      end
      if any(data(1, :) ~= -7.5) || any(data(3, :) ~= 2.5) || any(abs(data(4, :) - 9) > LSB)
        error('soak: a row holds another channel after %d scans', scans);
      end
      scans = scans + columns(data);
    end
    pause(rand() * ring / 4 / (4 * rate));
  end
  cbHaltBackground(0, 1);
end
