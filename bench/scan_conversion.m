function ns = scan_conversion(samples)
  % ns = scan_conversion(SAMPLES) compares what a foreground scan of
  % SAMPLES samples costs beyond the driver's own scan (the gateway's call
  % less scan_driver's call of the same scan, each the best of nine taken
  % in turn, so that neither the pacing nor its sleep's overshoot is
  % counted) with Octave's own vectorised conversion of the same raw
  % counts, and with the host's own making of a matrix result of the same
  % size (mexfill): [gateway, Octave, host] in nanoseconds per sample.
  if nargin < 1, samples = 1e6; end
  handle = cbNewSampleBuffer(samples);
  [~, rate] = cbReadAnalogScan(0, [0 0], samples, 4e7, 0, handle);   % warm the buffer
  gateway = Inf; driver = Inf; host = Inf;
  for run = 1:9
    t = tic;
    [data, rate, status] = cbReadAnalogScan(0, [0 0], samples, 4e7, 0, handle);
    gateway = min(gateway, toc(t));
    assert(status == 0);
    t = tic;
    scan_driver(0, 0, 0, samples, 4e7, 0, handle);
    driver = min(driver, toc(t));
    t = tic;
    made = mexfill(1, samples);
    host = min(host, toc(t));
  end
  % Octave's conversion of the same counts, from uint16 raw samples.
  raw = uint16(round((data + 10) * 65536 / 20));
  octave = Inf;
  for run = 1:9
    t = tic;
    volts = -10 + double(raw) * (20 / 65536);
    octave = min(octave, toc(t));
  end
  ns = [gateway - driver, octave, host] / samples * 1e9;
end
