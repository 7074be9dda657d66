function background_rate(seconds, aggregates)
  % background_rate(SECONDS, AGGREGATES) runs a background scan of four
  % channels (channel 0 the counter pattern, 1-3 their default sines) at
  % each aggregate rate in samples per second, drained by a plain Octave
  % fetch loop for SECONDS, and reports whether the loop kept up: no
  % overflow and, from the counter channel, no scan lost or repeated.
  % Then the fetch's cost per sample against Octave's own vectorised
  % conversion of the same raw counts.
  if nargin < 1, seconds = 10; end
  if nargin < 2, aggregates = [5e6 10e6 20e6 30e6 40e6]; end
  sb = getenv('DAQGATE_SIMBOARD');
  system([sb ' reset']);
  system([sb ' signal 0 0 counter']);
  LSB = 20 / 65536;
  for aggregate = aggregates
    ring = 4 * round(aggregate / 4 / 4);     % a quarter of a second
    handle = cbNewSampleBuffer(ring);
    [rate, status] = cbReadAnalogBackgroundScan(0, [0 3], ring, aggregate / 4, 0, handle);
    P = 0; Q = 0; scans = 0; lost = 0; fetches = 0; busy = 0;
    outcome = 'kept up';
    t = tic;
    try
      while toc(t) < seconds
        f = tic;
        [data, state, P, Q] = cbFetchBackgroundData(0, P, Q, ring, [0 3], 0, handle);
        busy = busy + toc(f);
        fetches = fetches + 1;
        if ~isempty(data)
          counted = round((data(1, :) + 10) / LSB);
          lost = lost + any(counted ~= mod(scans:scans + columns(data) - 1, 65536));
          scans = scans + columns(data);
        end
      end
      cbHaltBackground(0, 1);
      if lost > 0, outcome = 'scans lost'; end
    catch err
      outcome = 'overflow';
    end
    printf('| %.0f M samples/s | %d scans/s x 4 | %s | %d scans in %d fetches, %.2f ns per sample in the fetch |\n', ...
           aggregate / 1e6, rate, outcome, scans, fetches, busy / max(scans * 4, 1) * 1e9);
  end

  % The fetch's own cost against Octave converting the same raw counts, at
  % three fetch sizes.  The samples are made due first (the status query
  % brings the ring up to date), so that the time is the gateway's copy and
  % conversion and the host's handing over of the result.
  for samples = [1e4 1e5 1e6]
    ring = 4 * samples;
    handle = cbNewSampleBuffer(ring);
    cbReadAnalogBackgroundScan(0, [0 3], ring, 1e6, 0, handle);   % 4 M samples/s
    P = 0; Q = 0; fetch = Inf; octave = Inf;
    for run = 1:10
      [~, count] = cbQueryScanState(0, 1);
      while count - P < samples
        pause(samples / 4e6 / 4);
        [~, count] = cbQueryScanState(0, 1);
      end
      f = tic;
      [data, state, P, Q] = cbFetchBackgroundData(0, P, Q, ring, [0 3], 0, handle);
      fetch = min(fetch, toc(f) / numel(data));
      raw = uint16(round((data + 10) / LSB));
      o = tic;
      volts = -10 + double(raw) * LSB;
      octave = min(octave, toc(o) / numel(raw));
    end
    cbHaltBackground(0, 1);
    printf('| fetch of about %d samples | %.2f ns/sample | Octave vectorised: %.2f ns/sample |\n', samples, fetch * 1e9, octave * 1e9);
  end
end
