function [scans, fetches, overflows] = soak_background(seconds, aggregate)
  % [scans, fetches, overflows] = soak_background(SECONDS, AGGREGATE) runs a background
  % scan of channels 0-3 at AGGREGATE samples per second for SECONDS, with
  % channel 1 the counter pattern and the others fixed levels, fetched at
  % random intervals (up to a quarter of the ring's time), and checks every
  % fetch: no scan lost, repeated or misaligned.  Errors on the first fault.
  % A fetch that comes later than the ring's time after the one before may
  % meet the overflow, which is then the honest outcome, not a fault: the
  % scan starts again and OVERFLOWS counts them.
  LSB = 20 / 65536;
  sb = getenv('DAQGATE_SIMBOARD');
  system(sprintf('%s signal 0 0 dc -7.5 && %s signal 0 1 counter && %s signal 0 2 dc 2.5 && %s signal 0 3 dc 9', sb, sb, sb, sb));
  ring = 4 * round(aggregate / 4 / 2);      % half a second of samples
  handle = cbNewSampleBuffer(ring);
  rate = start_scan(ring, aggregate, handle);
  rand('seed', sum(clock()));
  P = 0; Q = 0; scans = 0; fetches = 0; overflows = 0; base = 0;
  t = tic;
  previous = toc(t);
  while toc(t) < seconds
    this = toc(t);
    try
      [data, state, P, Q] = cbFetchBackgroundData(0, P, Q, ring, [0 3], 0, handle);
    catch err
      late = toc(t) - previous;
      if isempty(strfind(err.message, 'Buffer overflow')) || late < 0.9 * ring / aggregate
        error('soak: %s after %d scans, %.3f s after the fetch before', err.message, scans, late);
      end
      overflows = overflows + 1;   % kept off the processor longer than the ring lasts
      rate = start_scan(ring, aggregate, handle);
      P = 0; Q = 0; base = scans;
      previous = toc(t);
      continue;
    end
    previous = this;
    fetches = fetches + 1;
    if state ~= 1, error('soak: the scan stopped after %d scans', scans); end
    if ~isempty(data)
      counted = round((data(2, :) + 10) / LSB);
      expected = mod((scans - base):(scans - base) + columns(data) - 1, 65536);   % counted from its start
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

function rate = start_scan(ring, aggregate, handle)
  [rate, status] = cbReadAnalogBackgroundScan(0, [0 3], ring, aggregate / 4, 0, handle);
  if status ~= 0, error('soak: the scan did not start: %s', cbErrorText(status)); end
end
