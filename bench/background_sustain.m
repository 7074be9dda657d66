function [kept, scans] = background_sustain(seconds, aggregate, channels)
  % [kept, scans] = background_sustain(SECONDS, AGGREGATE, CHANNELS) runs a
  % background scan of CHANNELS channels (channel 0 the counter pattern, the
  % others their default sines) at AGGREGATE samples per second, drained by
  % a plain Octave fetch loop for SECONDS; kept is true when there was no
  % overflow and, by the counter channel, no scan lost or repeated.
  LSB = 20 / 65536;
  system([getenv('DAQGATE_SIMBOARD') ' signal 0 0 counter']);
  ring = channels * max(1, round(aggregate / channels / 4));   % a quarter of a second
  handle = cbNewSampleBuffer(ring);
  [rate, status] = cbReadAnalogBackgroundScan(0, [0 channels - 1], ring, aggregate / channels, 0, handle);
  assert(status == 0, cbErrorText(status));
  P = 0; Q = 0; scans = 0; kept = true;
  t = tic;
  try
    while toc(t) < seconds
      [data, state, P, Q] = cbFetchBackgroundData(0, P, Q, ring, [0 channels - 1], 0, handle);
      if ~isempty(data)
        counted = round((data(1, :) + 10) / LSB);
        kept = kept && isequal(counted, mod(scans:scans + columns(data) - 1, 65536));
        scans = scans + columns(data);
      end
    end
    cbHaltBackground(0, 1);
  catch
    kept = false;   % the overflow stopped the scan
  end
end
