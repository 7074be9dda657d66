function [ns, asked] = fetch_cost(samples)
  % [ns, asked] = fetch_cost(SAMPLES) times fetches of about SAMPLES
  % samples, each the first of a four-channel background scan on the
  % default signals, whose samples are already due (the status query
  % brings the ring up to date first), against Octave's vectorised
  % conversion of the same raw counts, against the host's own cost of a
  % call shaped as the fetch (mexfill with the fetch's arguments and
  % results, making and filling a matrix result of the same size, called
  % where the fetch was: in a scan started afresh, after the same wait),
  % and against the driver's conversion of what the fetch must ask of it
  % (convert_driver): every sample below 65,536 samples, each distinct
  % count once from it on.  The host and the driver together are the
  % fetch's floor.  ns: [gateway, Octave, host, driver] in nanoseconds per
  % fetched sample, best of fifteen; asked: the median count of distinct
  % counts a fetch holds.
  LSB = 20 / 65536;
  % On the default signals, as the rig powers up: a benchmark before may
  % have left channel 0 counting, which makes every count of it distinct.
  system([getenv('DAQGATE_SIMBOARD') ' reset']);
  % Each timed fetch is the first of a scan started afresh, so that it
  % takes about SAMPLES samples however long the untimed work between two
  % fetches (the conversions compared, a pause of a busy machine) lasts.
  ring = max(4 * samples, 4e6);
  handle = cbNewSampleBuffer(ring);
  best = Inf(1, 4); counts = zeros(1, 15);
  for run = 1:15
    wait_for(samples, ring, handle);
    f = tic;
    [data, state, P, Q] = cbFetchBackgroundData(0, 0, 0, ring, [0 3], 0, handle);
    fetch = toc(f);
    cbHaltBackground(0, 1);
    wait_for(samples, ring, handle);        % as before the fetch
    f = tic;
    [made, ~, ~, ~] = mexfill(rows(data), columns(data), 0, ring, [0 3], 0, handle);
    host = toc(f);
    cbHaltBackground(0, 1);
    raw = uint16(round((data + 10) / LSB));
    o = tic;
    volts = -10 + double(raw) * LSB;
    octave = toc(o);
    if numel(raw) >= 65536
      conversions = unique(raw(:));
    else
      conversions = raw(:);
    end
    driver = convert_driver(0, 0, double(conversions));
    counts(run) = numel(conversions);
    best = min(best, [fetch, octave, host, driver] / numel(data));
  end
  ns = best * 1e9;
  asked = round(median(counts));
end

% A four-channel background scan started afresh at 1 M samples/s, once at
% least SAMPLES samples of it are due.  The simulated board makes a running
% scan's samples as the driver's calls meet them, its sine waves on the
% caller's time: at this rate that work weighs on a fetch a quarter of what
% it would at 4 M samples/s, and a board that fills its buffer by itself
% puts no such cost on the host at all.
function wait_for(samples, ring, handle)
  cbReadAnalogBackgroundScan(0, [0 3], ring, 250000, 0, handle);
  [~, count] = cbQueryScanState(0, 1);
  while count < samples
    pause(samples / 1e6 / 4);
    [~, count] = cbQueryScanState(0, 1);
  end
end
