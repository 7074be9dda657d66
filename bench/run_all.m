function run_all(results, floor_program, seconds)
  % run_all(RESULTS, FLOOR_PROGRAM, SECONDS) runs every benchmark on the
  % simulated board and writes one table, each row a ratio measured in this
  % run against a reference, to the file RESULTS and prints it
  % (write_results).  FLOOR_PROGRAM is the handshake floor's program;
  % SECONDS the length of each sustained background run (10).
  measured = [call_rows(), link_rows(floor_program), latency_rows(), scan_rows(), ...
              background_rows(seconds), fetch_rows(), cross_board_rows()];
  write_results(results, measured);
end

% 1. Gateway call overhead: against mexsmoke (the example gateway), and
%    against the host's own cost of a call with the same arguments
%    (mexnull), every gateway that takes scalars and the queue of 8.
function rows = call_rows()
  rows = {};
  cases = call_overhead(20000, 15);
  smoke = cases(strcmp({cases.name}, 'mexsmoke')).gateway;
  for name = {'cbReadPort', 'cbWritePort', 'cbReadAnalog', 'cbQueryScanState'}
    rate = cases(strcmp({cases.name}, name{1})).gateway;
    rows{end+1} = row(['1. calls/s of ' name{1}], '1 call', sprintf('%.0f/s', rate), ...
                      sprintf('mexsmoke %.0f/s', smoke), rate / smoke, at_least(0.90));
  end
  for c = 1:numel(cases)
    yardstick = strtok(cases(c).host_arguments, '(');
    rows{end+1} = row('1. call against the host''s floor (same arguments, same kind of result)', ...
                      sprintf('%s, 15 runs', cases(c).arguments), sprintf('%.0f/s', cases(c).gateway), ...
                      sprintf('%s %.0f/s', yardstick, cases(c).host), median(cases(c).ratios), ...
                      at_least(0.95), 'runs', [min(cases(c).ratios) max(cases(c).ratios)]);
  end
  rows = [rows{:}];
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
function rows = link_rows(floor_program)
  rows = {};
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
        rows{end+1} = row(['2. text link, ' waits ', ' names{k}], runs(ratios), rates(links(:, k)), ...
                          [floor_name ' ' rates(floors(:, k))], median(ratios), at_least(0.80));
      end
      % What the driver's port calls cost the same handshake with no host
      % around them, and what the gateways add to that (each against the
      % floor beside it).
      ratios = drivers ./ driver_floors;
      rows{end+1} = row(['2. the same handshake through the driver''s port calls, ' waits], runs(ratios), ...
                        rates(drivers), [floor_name ' ' rates(driver_floors)], median(ratios), context());
      ratios = (links(:, 3) ./ floors(:, 3)) ./ (drivers ./ driver_floors);
      rows{end+1} = row(['2. text link, ' waits ', gateway writer -> gateway reader, against the driver''s handshake'], ...
                        runs(ratios), rates(links(:, 3)), ['through the driver ' rates(drivers)], median(ratios), context());
    end
  end
  rows = [rows{:}];
end

% 2b. The text link at a real board's pace: every driver call on both
%     boards takes 1 ms (simboard latency).  A character's handshake is
%     some ten calls end to end, one after another.
function rows = latency_rows()
  rate = link_at_latency(200, 0.001);
  rows = row('2. text link at 1 ms a driver call, gateway writer -> gateway reader', '200 chars', ...
             sprintf('%.0f chars/s', rate), '10 calls of 1 ms a character: 100 chars/s', rate / 100, context());
end

% 3. A foreground scan's own cost beyond the driver's scan, against its
%    floor: the host's making of a result of that size (mexfill) and the
%    driver's conversions the scan asks (convert_driver), measured beside
%    it; Octave's own conversion of the same counts as context.
function rows = scan_rows()
  rows = {};
  for samples = [65536 1e5 1e6 4e6]
    [ns, ratios, pace, asked] = scan_conversion(samples);
    at = sprintf('%d samples', samples);
    octave = sprintf('Octave %.2f ns', ns(2));
    rows{end+1} = row('3. foreground scan, time per sample, against its floor', at, sprintf('%.2f ns', ns(1)), ...
                      sprintf('host and driver %.2f ns', ns(3) + ns(4)), ratios(1), within_floor());
    rows{end+1} = row('3. foreground scan, time per sample, against Octave''s own conversion', at, ...
                      sprintf('%.2f ns', ns(1)), octave, ratios(2), context());
    rows{end+1} = row('3. the host alone: a matrix result made and filled (mexfill)', at, ...
                      sprintf('%.2f ns', ns(3)), octave, ratios(3), context());
    rows{end+1} = row('3. the driver alone: the conversions the scan asks (convert_driver)', at, ...
                      sprintf('%.2f ns (%d conversions)', ns(4), asked), octave, ns(2) / ns(4), context());
    rows{end+1} = row('3. the driver''s foreground scan: its length, past its pace', at, ...
                      sprintf('%.1f us late', pace(2) * 1e6), sprintf('%.0f us of pace', pace(1) * 1e6), ...
                      pace(1) / sum(pace), context());
  end
  rows = [rows{:}];
end

% 4. Background acquisition: the highest aggregate rate sustained;
% 5. scaling with channels.
function rows = background_rows(seconds)
  rows = {};
  best = 0;
  for aggregate = [10e6 20e6 40e6]
    [kept, scans] = background_sustain(seconds, aggregate, 4);
    if kept, best = aggregate; end
    rows{end+1} = row('4. background, 4 channels, plain fetch loop', ...
                      sprintf('%.0f M samples/s for %d s', aggregate / 1e6, seconds), scans_text(scans, kept), ...
                      '20 M samples/s', aggregate / 20e6, kept_up(), 'kept', kept);
  end
  rows{end+1} = row('4. background, highest aggregate rate kept up', '4 channels', sprintf('%.0f M samples/s', best / 1e6), ...
                    '20 M samples/s', best / 20e6, at_least(1.00));
  for channels = [1 4 16]
    [kept, scans] = background_sustain(max(2, seconds / 5), 20e6, channels);
    rows{end+1} = row('5. background at 20 M samples/s', sprintf('%d channels', channels), scans_text(scans, kept), ...
                      '20 M samples/s', double(kept), kept_up(), 'kept', kept);
  end
  rows = [rows{:}];
end

% 4. The fetch's cost per sample against its floor, the host's cost of a
%    call shaped as the fetch with a result of that size (mexfill) and the
%    driver's conversions the fetch asks (convert_driver), measured beside
%    it; Octave's own conversion of the same counts as context.
function rows = fetch_rows()
  rows = {};
  for samples = [1e4 65536 1e5 1e6]
    [ns, asked] = fetch_cost(samples);
    at = sprintf('%d samples', samples);
    octave = sprintf('Octave %.2f ns', ns(2));
    floor_ns = ns(3) + ns(4);
    % Below 65,536 samples every sample is asked of the driver; from it on,
    % each distinct count once, the part the table of counts speeds up.
    rows{end+1} = row('4. fetch, time per sample, against its floor', at, sprintf('%.2f ns', ns(1)), ...
                      sprintf('host and driver %.2f ns', floor_ns), floor_ns / ns(1), ...
                      merge(samples >= 65536, within_floor(), reported()));
    rows{end+1} = row('4. fetch, time per sample, against Octave''s own conversion', at, sprintf('%.2f ns', ns(1)), ...
                      octave, ns(2) / ns(1), context());
    rows{end+1} = row('4. the host alone: a call shaped as the fetch, its matrix result made and filled (mexfill)', at, ...
                      sprintf('%.2f ns', ns(3)), octave, ns(2) / ns(3), context());
    rows{end+1} = row('4. the driver alone: the conversions the fetch asks (convert_driver)', at, ...
                      sprintf('%.2f ns (%d conversions)', ns(4), asked), octave, ns(2) / ns(4), context());
  end
  rows = [rows{:}];
end

% 6. What a scan on another board costs a board-0 fetch and a port read,
%    and whether the driver or the machine pays it.
function rows = cross_board_rows()
  rows = {};
  c = cross_board();
  settings = {'the machine quiet', 'a 20 M samples/s scan on board 3 in this process, left alone', ...
              'that scan drained by a second Octave on the other processor', ...
              'a busy loop on the other processor, no driver'};
  for k = 1:4
    rows{end+1} = row('6. board-0 fetch of 1e5 samples and cbReadPort, beside', settings{k}, ...
                      sprintf('%.2f ns/sample, %.2f us/call', c(k, 1), c(k, 2)), ...
                      sprintf('quiet %.2f ns/sample, %.2f us/call', c(1, 1), c(1, 2)), c(1, 1) / c(k, 1), context());
  end
  rows = [rows{:}];
end

% One row of the table as data (write_results shows it).  Options: 'runs',
% the lowest and highest single ratios behind a median; 'kept', whether a
% sustained run kept up.
function r = row(measure, size_text, ours, reference, ratio, target, varargin)
  r = struct('measure', measure, 'size', size_text, 'ours', ours, 'reference', reference, ...
             'ratio', ratio, 'target', target, 'runs', [], 'kept', []);
  for k = 1:2:numel(varargin)
    r.(varargin{k}) = varargin{k + 1};
  end
end

% A row's target, written once: the verdict and its text both come from it.
function t = at_least(bound)
  t = struct('op', '>=', 'bound', bound);
end

% Against a floor measured beside it: within 1.15 of the floor's time.
function t = within_floor()
  t = at_least(0.87);
end

function t = kept_up()
  t = struct('op', 'kept up', 'bound', []);
end

function t = context()
  t = struct('op', 'context', 'bound', []);
end

function t = reported()
  t = struct('op', 'reported', 'bound', []);
end

function text = scans_text(scans, kept)
  text = sprintf('%d scans, %s', scans, merge(kept, 'none lost', 'lost'));
end
