function run_all(results, floor_program, seconds)
  % run_all(RESULTS, FLOOR_PROGRAM, SECONDS) runs every benchmark on the
  % simulated board and prints one table, each row a ratio measured in this
  % run against a reference, and writes it to the file RESULTS.
  % FLOOR_PROGRAM is the handshake floor's program; SECONDS the length of
  % each sustained background run (10).
  rows = {};
  function row(measure, size, ours, reference, ratio, target, met)
    rows{end+1} = sprintf('| %s | %s | %s | %s | %.2f | %s | %s |', measure, size, ours, reference, ratio, target, ifelse(met));
    printf('%s\n', rows{end});
  end
  printf('| measure | size | daqgate | reference | ratio | target | met |\n|---|---|---|---|---|---|---|\n');

  % 1. Gateway call overhead against mexsmoke, and against the host's cost
  %    of a call with the same arguments (mexnull).
  r = call_overhead(200000);
  for name = {'cbReadPort', 'cbWritePort', 'cbReadAnalog', 'cbQueryScanState'}
    ratio = r.(name{1}) / r.mexsmoke;
    row(['1. calls/s of ' name{1}], '1 call', sprintf('%.0f/s', r.(name{1})), sprintf('mexsmoke %.0f/s', r.mexsmoke), ratio, '>= 0.90', ratio >= 0.9);
  end
  row('1. calls/s, host floor for 2 arguments', '1 call', sprintf('cbReadPort %.0f/s', r.cbReadPort), sprintf('mexnull %.0f/s', r.mexnull2), r.cbReadPort / r.mexnull2, '(context)', true);
  row('1. calls/s, host floor for 3 arguments', '1 call', sprintf('cbWritePort %.0f/s', r.cbWritePort), sprintf('mexnull %.0f/s', r.mexnull3), r.cbWritePort / r.mexnull3, '(context)', true);

  % 2. Text link against the bare handshake between two processes: both
  %    pinned the same way (far end on processor 0, near end on 1), five
  %    runs of each taken in turn so that a drift of the machine meets
  %    both alike; the medians compared, the spread shown.
  names = {'gateway writer -> simboard', 'simboard -> gateway reader', 'gateway writer -> gateway reader'};
  for chars = [10000 100000 1000000]
    floors = zeros(5, 1); links = zeros(5, 3);
    for rep = 1:5
      [~, out] = system(sprintf('%s %d 0 1', floor_program, chars));
      floors(rep) = str2double(out);
      links(rep, :) = link_throughput(chars);
    end
    floor_rate = median(floors);
    for k = 1:3
      ratio = median(links(:, k)) / floor_rate;
      row(['2. text link, ' names{k}], sprintf('%d chars, 5 runs', chars), ...
          sprintf('%.2f M chars/s (%.2f-%.2f)', median(links(:, k)) / 1e6, min(links(:, k)) / 1e6, max(links(:, k)) / 1e6), ...
          sprintf('bare handshake %.2f M chars/s (%.2f-%.2f)', floor_rate / 1e6, min(floors) / 1e6, max(floors) / 1e6), ...
          ratio, '>= 0.80', ratio >= 0.8);
    end
  end

  % 2b. The text link at a real board's pace: every driver call on both
  %     boards takes 1 ms (simboard latency).  A character's handshake is
  %     some ten calls end to end, one after another.
  rate = link_at_latency(200, 0.001);
  row('2. text link at 1 ms a driver call, gateway writer -> gateway reader', '200 chars', sprintf('%.0f chars/s', rate), ...
      '10 calls of 1 ms a character: 100 chars/s', rate / 100, '(context)', true);

  % 3. Foreground scan conversion against Octave's own.
  for samples = [1e5 1e6 4e6]
    ns = scan_conversion(samples);
    row('3. foreground scan, time per sample', sprintf('%d samples', samples), sprintf('%.2f ns', ns(1)), ...
        sprintf('Octave %.2f ns', ns(2)), ns(2) / ns(1), '>= 1.00', ns(2) / ns(1) >= 1);
  end

  % 4. Background acquisition: the highest aggregate rate sustained, and
  %    the fetch's cost per sample; 5. scaling with channels.
  best = 0;
  for aggregate = [10e6 20e6 40e6]
    [kept, scans] = background_sustain(seconds, aggregate, 4);
    if kept, best = aggregate; end
    row('4. background, 4 channels, plain fetch loop', sprintf('%.0f M samples/s for %d s', aggregate / 1e6, seconds), ...
        sprintf('%d scans, %s', scans, ifelse(kept, 'none lost')), '20 M samples/s', aggregate / 20e6, 'kept up', kept);
  end
  row('4. background, highest aggregate rate kept up', '4 channels', sprintf('%.0f M samples/s', best / 1e6), '20 M samples/s', best / 20e6, '>= 1.00', best >= 20e6);
  for channels = [1 4 16]
    [kept, scans] = background_sustain(max(2, seconds / 5), 20e6, channels);
    row('5. background at 20 M samples/s', sprintf('%d channels', channels), sprintf('%d scans, %s', scans, ifelse(kept, 'none lost')), ...
        '20 M samples/s', double(kept), 'kept up', kept);
  end
  for samples = [1e4 1e5 1e6]
    ns = fetch_cost(samples);
    row('4. fetch, time per sample', sprintf('%d samples', samples), sprintf('%.2f ns', ns(1)), ...
        sprintf('Octave %.2f ns', ns(2)), ns(2) / ns(1), '>= 1.00', ns(2) / ns(1) >= 1);
  end

  fid = fopen(results, 'w');
  [~, machine] = system('uname -srm');
  fprintf(fid, '# daqgate benchmark results\n\n%s, %s, %s, %s\n\n', strtrim(machine), ...
          sprintf('%d cores', nproc()), datestr(now(), 'yyyy-mm-dd HH:MM'), ['Octave ' OCTAVE_VERSION]);
  fprintf(fid, 'Each ratio is measured in the same run against its reference (higher is better for daqgate).\n\n');
  fprintf(fid, '| measure | size | daqgate | reference | ratio | target | met |\n|---|---|---|---|---|---|---|\n');
  fprintf(fid, '%s\n', rows{:});
  fclose(fid);
end

function text = ifelse(flag, yes)
  if nargin < 2, yes = 'yes'; end
  if flag, text = yes; elseif nargin < 2, text = 'no'; else, text = 'lost'; end
end
