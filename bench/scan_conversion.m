function ns = scan_conversion(samples)
  % ns = scan_conversion(SAMPLES) compares the time per sample of a
  % foreground scan of SAMPLES samples, beyond the scan's own pacing (at the
  % pacer's fastest rate, so the scan itself is short), with Octave's own
  % vectorised conversion of the same raw counts: [gateway, Octave] in
  % nanoseconds per sample.
  if nargin < 1, samples = 1e6; end
  handle = cbNewSampleBuffer(samples);
  [~, rate] = cbReadAnalogScan(0, [0 0], samples, 4e7, 0, handle);   % warm the buffer
  best = Inf;
  for run = 1:5
    t = tic;
    [data, rate, status] = cbReadAnalogScan(0, [0 0], samples, 4e7, 0, handle);
    best = min(best, toc(t));
  end
  assert(status == 0);
  pacing = samples / rate;   % the scan's own duration at the rate used
  % Octave's conversion of the same counts, from uint16 raw samples.
  raw = uint16(round((data + 10) * 65536 / 20));
  octave = Inf;
  for run = 1:5
    t = tic;
    volts = -10 + double(raw) * (20 / 65536);
    octave = min(octave, toc(t));
  end
  ns = [(best - pacing), octave] / samples * 1e9;
end
