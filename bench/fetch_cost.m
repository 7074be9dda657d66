function ns = fetch_cost(samples)
  % ns = fetch_cost(SAMPLES) times fetches of about SAMPLES samples of a
  % four-channel background scan whose samples are already due (the status
  % query brings the ring up to date first), against Octave's vectorised
  % conversion of the same raw counts and against the host's own making of
  % a matrix result of the same size (mexfill, called where the fetch was:
  % after the same pause and query): [gateway, Octave, host] in
  % nanoseconds per sample, best of ten.
  LSB = 20 / 65536;
  ring = 4 * samples;
  handle = cbNewSampleBuffer(ring);
  cbReadAnalogBackgroundScan(0, [0 3], ring, 1e6, 0, handle);   % 4 M samples/s
  P = 0; Q = 0; fetch = Inf; octave = Inf; host = Inf;
  for run = 1:10
    [~, count] = cbQueryScanState(0, 1);
    while count - P < samples
      pause(samples / 4e6 / 4);
      [~, count] = cbQueryScanState(0, 1);
    end
    f = tic;
    [data, state, P, Q] = cbFetchBackgroundData(0, P, Q, ring, [0 3], 0, handle);
    fetch = min(fetch, toc(f) / numel(data));
    pause(samples / 4e6 / 4);              % as before the fetch
    [~, count] = cbQueryScanState(0, 1);
    f = tic;
    made = mexfill(rows(data), columns(data));
    host = min(host, toc(f) / numel(made));
    raw = uint16(round((data + 10) / LSB));
    o = tic;
    volts = -10 + double(raw) * LSB;
    octave = min(octave, toc(o) / numel(raw));
  end
  cbHaltBackground(0, 1);
  ns = [fetch, octave, host] * 1e9;
end
