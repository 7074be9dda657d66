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

  % 1. Gateway call overhead: against mexsmoke (the example gateway), and
  %    against the host's own cost of a call with the same arguments
  %    (mexnull), every gateway that takes scalars and the queue of 8.
  cases = call_overhead(20000, 15);
  smoke = cases(strcmp({cases.name}, 'mexsmoke')).gateway;
  for name = {'cbReadPort', 'cbWritePort', 'cbReadAnalog', 'cbQueryScanState'}
    rate = cases(strcmp({cases.name}, name{1})).gateway;
    row(['1. calls/s of ' name{1}], '1 call', sprintf('%.0f/s', rate), sprintf('mexsmoke %.0f/s', smoke), rate / smoke, '>= 0.90', rate / smoke >= 0.9);
  end
  for c = 1:numel(cases)
    ratio = median(cases(c).ratios);
    yardstick = strtok(cases(c).host_arguments, '(');
    row('1. call against the host''s floor (same arguments, same kind of result)', sprintf('%s, 15 runs', cases(c).arguments), ...
        sprintf('%.0f/s', cases(c).gateway), sprintf('%s %.0f/s', yardstick, cases(c).host), ratio, ...
        sprintf('>= 0.95 (runs %.2f-%.2f)', min(cases(c).ratios), max(cases(c).ratios)), ratio >= 0.95);
  end

  % 2. Text link against the bare handshake between two processes: both
  %    pinned the same way (far end on processor 0, near end on 1).  Where
  %    the machine places those two processors changes the floor by several
  %    times from one minute to the next, so each transfer is measured
  %    against a floor taken just before and just after it, and the row is
  %    the median of five such ratios, their spread shown.  Once with no
  %    time limit, where neither reads a clock, and once with a limit of
  %    60 s, where both read the clock as the link's waits must: at the
  %    start of each wait and at every poll.
  names = {'gateway writer -> simboard', 'simboard -> gateway reader', 'gateway writer -> gateway reader'};
  for limit = [0 60]
    if limit > 0
      waits = sprintf('timeOut %d s', limit); floor_name = 'bare handshake, clock read per poll';
    else
      waits = 'no time limit'; floor_name = 'bare handshake';
    end
    for chars = [10000 100000 1000000]
      measure_floor = @() str2double(nthargout(2, @system, sprintf('%s %d 0 1 %g', floor_program, chars, limit)));
      floors = zeros(5, 3); drivers = zeros(5, 1); driver_floors = zeros(5, 1); links = zeros(5, 3);
      for rep = 1:5
        before = measure_floor();
        drivers(rep) = str2double(nthargout(2, @system, sprintf('%s %d 0 1 %g driver', floor_program, chars, limit)));
        driver_floors(rep) = sqrt(before * measure_floor());
        [links(rep, :), floors(rep, :)] = link_throughput(chars, limit, measure_floor);
      end
      rates = @(r) sprintf('%.2f M chars/s (%.2f-%.2f)', median(r) / 1e6, min(r) / 1e6, max(r) / 1e6);
      runs = @(r) sprintf('%d chars, 5 runs, ratios %.2f-%.2f', chars, min(r), max(r));
      for k = 1:3
        ratios = links(:, k) ./ floors(:, k);
        row(['2. text link, ' waits ', ' names{k}], runs(ratios), rates(links(:, k)), ...
            [floor_name ' ' rates(floors(:, k))], median(ratios), '>= 0.80', median(ratios) >= 0.8);
      end
      % What the driver's port calls cost the same handshake with no host
      % around them, and what the gateways add to that (each against the
      % floor beside it).
      ratios = drivers ./ driver_floors;
      row(['2. the same handshake through the driver''s port calls, ' waits], runs(ratios), ...
          rates(drivers), [floor_name ' ' rates(driver_floors)], median(ratios), '(context)', true);
      ratios = (links(:, 3) ./ floors(:, 3)) ./ (drivers ./ driver_floors);
      row(['2. text link, ' waits ', gateway writer -> gateway reader, against the driver''s handshake'], ...
          runs(ratios), rates(links(:, 3)), ['through the driver ' rates(drivers)], median(ratios), '(context)', true);
    end
  end

  % 2b. The text link at a real board's pace: every driver call on both
  %     boards takes 1 ms (simboard latency).  A character's handshake is
  %     some ten calls end to end, one after another.
  rate = link_at_latency(200, 0.001);
  row('2. text link at 1 ms a driver call, gateway writer -> gateway reader', '200 chars', sprintf('%.0f chars/s', rate), ...
      '10 calls of 1 ms a character: 100 chars/s', rate / 100, '(context)', true);

  % 3. Foreground scan conversion against Octave's own; and the host's
  %    own making of a result of that size against the same, the floor
  %    under any gateway's figure.
  for samples = [65536 1e5 1e6 4e6]
    [ns, ratios, pace] = scan_conversion(samples);
    row('3. foreground scan, time per sample', sprintf('%d samples', samples), sprintf('%.2f ns', ns(1)), ...
        sprintf('Octave %.2f ns', ns(2)), ratios(1), '>= 1.00', ratios(1) >= 1);
    row('3. the host alone: a matrix result made and filled (mexfill)', sprintf('%d samples', samples), ...
        sprintf('%.2f ns', ns(3)), sprintf('Octave %.2f ns', ns(2)), ratios(2), '(context)', true);
    row('3. the driver''s foreground scan: its length, past its pace', sprintf('%d samples', samples), ...
        sprintf('%.1f us late', pace(2) * 1e6), sprintf('%.0f us of pace', pace(1) * 1e6), ...
        pace(1) / sum(pace), '(context)', true);
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
  for samples = [1e4 65536 1e5 1e6]
    [ns, asked] = fetch_cost(samples);
    row('4. fetch, time per sample', sprintf('%d samples', samples), sprintf('%.2f ns', ns(1)), ...
        sprintf('Octave %.2f ns', ns(2)), ns(2) / ns(1), merge(samples >= 65536, '>= 1.00', '(reported)'), ...
        samples < 65536 || ns(2) / ns(1) >= 1);
    row('4. the host alone: a matrix result made and filled (mexfill)', sprintf('%d samples', samples), ...
        sprintf('%.2f ns', ns(3)), sprintf('Octave %.2f ns', ns(2)), ns(2) / ns(3), '(context)', true);
    % Below 65,536 samples every sample is asked of the driver; from it on,
    % each distinct count once.  The host's floor and these calls together
    % are what no conversion by the driver can go below.
    row('4. the driver alone: the conversions the fetch asks (convert_driver)', ...
        sprintf('%d samples', samples), sprintf('%.2f ns (%d conversions)', ns(4), asked), ...
        sprintf('Octave %.2f ns', ns(2)), ns(2) / ns(4), '(context)', true);
    row('4. host and driver alone, the floor under the fetch', sprintf('%d samples', samples), ...
        sprintf('%.2f ns', ns(3) + ns(4)), sprintf('Octave %.2f ns', ns(2)), ns(2) / (ns(3) + ns(4)), '(context)', true);
  end

  % 6. What a scan on another board costs a board-0 fetch and a port read,
  %    and whether the driver or the machine pays it.
  c = cross_board();
  settings = {'the machine quiet', 'a 20 M samples/s scan on board 3 in this process, left alone', ...
              'that scan drained by a second Octave on the other processor', ...
              'a busy loop on the other processor, no driver'};
  for k = 1:4
    row('6. board-0 fetch of 1e5 samples and cbReadPort, beside', settings{k}, ...
        sprintf('%.2f ns/sample, %.2f us/call', c(k, 1), c(k, 2)), ...
        sprintf('quiet %.2f ns/sample, %.2f us/call', c(1, 1), c(1, 2)), c(1, 1) / c(k, 1), '(context)', true);
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
