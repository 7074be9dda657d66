function [t, data] = scope(board, channels, rate, range, window, varargin)
  % daqgate.scope  Watch channels live in a figure.
  %
  %   daqgate.scope(board, channels, rate)
  %   daqgate.scope(board, channels, rate, range, window)
  %   [t, data] = daqgate.scope(..., 'Duration', seconds)
  %
  %   Acquires CHANNELS of BOARD continuously at RATE scans per second and
  %   plots the last WINDOW seconds (default 1), a line per channel, redrawn
  %   some 20 times a second, until the figure is closed, DURATION seconds
  %   have passed, or Ctrl-C; the scan is then halted (an onCleanup in this
  %   function, which MATLAB and Octave both run on Ctrl-C and on errors).
  %   It returns the window last shown: t a column of seconds, data
  %   scans-by-channels volts. Long windows are thinned to some 4000 points
  %   per line for drawing; what is returned is thinned alike.
  %
  %   range       the driver's range code, default 0 (-10..+10 V)
  %   'Duration'  seconds to watch, default Inf
  %   'Figure'    a figure to draw in, default a new one
  %
  %   It works with Octave's graphics toolkits (qt, fltk, gnuplot) and in
  %   MATLAB. Errors: as daqgate.start and daqgate.fetch (daqgate:overflow
  %   when drawing keeps the script from the ring longer than it holds).
  %
  %   Example:
  %     daqgate.scope(0, 0:3, 2000, 0, 0.5);    % close the figure to end
  %
  %   See also daqgate.start, daqgate.fetch, daqgate.record.
  me = 'daqgate.scope';
  if nargin < 3
    error('daqgate:argument', '%s', 'daqgate.scope: usage: daqgate.scope(board, channels, rate, range, window)');
  end
  if nargin < 4
    range = [];
  end
  if nargin < 5 || isempty(window)
    window = 1;
  end
  [board, pair, rate, range] = daqgate.Acquisition.scan(me, board, channels, rate, range);
  window = daqgate.Acquisition.positive(me, window, 'window');
  options = daqgate.Acquisition.options(me, struct('Duration', Inf, 'Figure', []), varargin);
  duration = daqgate.Acquisition.positive(me, options.Duration, 'Duration', true);
  n = pair(2) - pair(1) + 1;

  if isempty(options.Figure)
    fig = figure('Name', sprintf('daqgate.scope: board %d', board), 'NumberTitle', 'off');
  else
    fig = figure(options.Figure);
    clf(fig);
  end
  ax = axes('Parent', fig);
  lines = plot(ax, nan(2, n), nan(2, n));
  grid(ax, 'on');
  xlabel(ax, 'seconds');
  ylabel(ax, 'volts');
  names = cell(1, n);
  for c = 1:n
    names{c} = sprintf('input %d', pair(1) + c - 1);
  end
  legend(ax, names, 'Location', 'northeast');

  acq = daqgate.start(board, pair, rate, range, 'Ring', max(2, window));
  halt = onCleanup(@() acq.stop());
  rate = acq.Rate;
  step = max(1, ceil(window * rate / 4000));     % scans per point drawn
  kept = ceil(window * rate / step);
  t = zeros(0, 1);
  data = zeros(0, n);
  title(ax, sprintf('board %d, inputs %d-%d, %g scans/s', board, pair(1), pair(2), rate));
  clock = tic;
  while ishandle(fig) && toc(clock) < duration
    pause(0.05);                                  % some 20 redraws a second; Ctrl-C is heard here
    [d, td] = daqgate.fetch(acq);
    if ~ishandle(fig)
      break;
    end
    take = mod(round(td * rate), step) == 0;      % the same scans whatever the fetches
    t = [t; td(take)];
    data = [data; d(take, :)];
    if numel(t) > kept
      t = t(end - kept + 1:end);
      data = data(end - kept + 1:end, :);
    end
    if isempty(t)
      continue;
    end
    for c = 1:n
      set(lines(c), 'XData', t, 'YData', data(:, c));
    end
    right = max(t(end), window);
    set(ax, 'XLim', [right - window, right]);
    drawnow;
  end
end
