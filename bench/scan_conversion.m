function [ns, ratios, pace, asked] = scan_conversion(samples, runs)
  % [ns, ratios, pace, asked] = scan_conversion(SAMPLES, RUNS) compares
  % what a foreground scan of SAMPLES samples costs beyond the driver's own
  % scan (the gateway's call less scan_driver's call of the same scan, made
  % back to back; the driver's pace ends on time, so neither the pacing
  % nor a sleep's overrun is counted) with its floor: the host's own making
  % of a matrix result of the same size (mexfill) and the driver's
  % conversions the scan asks (convert_driver: every sample below 65,536
  % samples, each distinct count once from it on), which together no
  % converting gateway can go below; and, as context, with Octave's own
  % vectorised conversion of the same raw counts.  Each of RUNS (default
  % 15) rounds times them all in turn.  ns: [gateway, Octave, host,
  % driver] in nanoseconds per sample, medians over the rounds; ratios:
  % the medians of each round's floor / gateway, Octave / gateway and
  % Octave / host; pace: [SAMPLES / rate, the median time the driver's scan
  % took past it] in seconds; asked: the conversions the scan asks.
  if nargin < 1, samples = 1e6; end
  if nargin < 2, runs = 15; end
  system([getenv('DAQGATE_SIMBOARD') ' reset']);   % the default signals
  handle = cbNewSampleBuffer(samples);
  [data, rate] = cbReadAnalogScan(0, [0 0], samples, 4e7, 0, handle);   % warms the buffer
  raw = uint16(round((data + 10) * 65536 / 20));
  if samples >= 65536
    conversions = double(unique(raw(:)));
  else
    conversions = double(raw(:));
  end
  asked = numel(conversions);
  t = zeros(runs, 6);
  for run = 1:runs
    s = tic;
    [data, rate, status] = cbReadAnalogScan(0, [0 0], samples, 4e7, 0, handle);
    t(run, 1) = toc(s);
    assert(status == 0);
    s = tic;
    [inside, rate] = scan_driver(0, 0, 0, samples, 4e7, 0, handle);
    t(run, 2) = toc(s);
    t(run, 5) = inside - samples / rate;
    s = tic;
    made = mexfill(1, samples);
    t(run, 3) = toc(s);
    s = tic;
    volts = -10 + double(raw) * (20 / 65536);
    t(run, 4) = toc(s);
    t(run, 6) = convert_driver(0, 0, conversions);
  end
  own = t(:, 1) - t(:, 2);
  ns = median([own, t(:, 4), t(:, 3), t(:, 6)]) / samples * 1e9;
  ratios = [median((t(:, 3) + t(:, 6)) ./ own), median(t(:, 4) ./ own), median(t(:, 4) ./ t(:, 3))];
  pace = [samples / rate, median(t(:, 5))];
end
