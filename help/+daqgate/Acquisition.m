classdef Acquisition < handle
  % daqgate.Acquisition  A continuous acquisition, as daqgate.start returns it.
  %
  %   Made by daqgate.start and used through daqgate.fetch, daqgate.state and
  %   daqgate.stop (or acq.fetch(), acq.state(), acq.stop()). It keeps the
  %   scan's position between fetches, so that every scan is returned once.
  %
  %   The scan is halted when the object goes away: on daqgate.stop, and when
  %   the last variable holding it is cleared, which both MATLAB and Octave
  %   do when the function holding it returns or ends by an error or Ctrl-C.
  %
  %   See also daqgate.start, daqgate.fetch, daqgate.state, daqgate.stop.

  properties (SetAccess = private)
    Board = 0;          % board number
    Channels = [0 0];   % [lowChan highChan]
    Range = 0;          % range code
    Rate = 0;           % scans per second, as the driver settled it
    RingSeconds = 0;    % how long the ring holds at Rate
  end

  properties (SetAccess = private, Hidden)
    RingSamples = 0;    % the ring, in samples
    Handle = 0;         % the ring's driver buffer
    Count = 0;          % the position of the next fetch, as the driver counts
    Index = 0;
    Samples = 0;        % samples fetched so far, not wrapped
    Running = false;    % started, not yet stopped here nor found stopped
    Clock = [];         % tic of the start
    LastFetch = 0;      % seconds from the start to the previous fetch's query
  end

  methods
    function acq = Acquisition(board, channels, rate, range, ring_seconds)
      % Starts the scan; daqgate.start checks the arguments.
      caller = 'daqgate.start';
      n = channels(2) - channels(1) + 1;
      scans = max(1, ceil(ring_seconds * rate));
      samples = n * scans;
      if samples > 2^31 - 1
        daqgate.Acquisition.fail(caller, 'argument', sprintf( ...
          'Ring: %g s of %d channels at %g scans/s is %.0f samples; the ring holds at most 2^31 - 1', ...
          ring_seconds, n, rate, samples));
      end
      handle = daqgate.buffer(samples);
      [settled, status] = cbReadAnalogBackgroundScan(board, channels, samples, rate, range, handle);
      if status ~= 0
        daqgate.buffer('release', handle);
        daqgate.Acquisition.driver_failed(caller, board, status);
      end
      acq.Board = board;
      acq.Channels = channels;
      acq.Range = range;
      acq.Rate = settled;
      acq.RingSamples = samples;
      acq.RingSeconds = scans / settled;
      acq.Handle = handle;
      acq.Running = true;
      acq.Clock = tic;
    end

    function [data, t] = fetch(acq)
      % [data, t] = acq.fetch(): see daqgate.fetch.
      n = acq.Channels(2) - acq.Channels(1) + 1;
      data = zeros(0, n);
      t = zeros(0, 1);
      if ~acq.Running
        return;
      end
      asked = toc(acq.Clock);
      try
        [raw, state, count, index] = cbFetchBackgroundData(acq.Board, acq.Count, acq.Index, ...
          acq.RingSamples, acq.Channels, acq.Range, acq.Handle);
      catch err
        acq.ended();
        if ~isempty(strfind(err.message, 'Buffer overflow'))
          acq.overflowed(toc(acq.Clock));   % the gateway finds it at its query or after its copy
        end
        daqgate.Acquisition.fail('daqgate.fetch', 'driver', err.message);
      end
      if state ~= 1
        acq.ended();   % halted by another call: what was not fetched is gone
        return;
      end
      acq.LastFetch = asked;
      first = acq.Samples / n;
      arrived = mod(count - acq.Count, 2^32);   % the count is 32-bit and wraps
      acq.Samples = acq.Samples + arrived;
      acq.Count = count;
      acq.Index = index;
      data = reshape(raw, n, []).';   % 0-by-n too when the scan has stored nothing yet
      t = (first + (0:size(data, 1) - 1).') / acq.Rate;
    end

    function s = state(acq)
      % s = acq.state(): see daqgate.state.
      running = false;
      if acq.Running
        [driver_state, ~, ~, status] = cbQueryScanState(acq.Board, 1);
        running = status == 0 && driver_state == 1;
        if status == 0 && ~running
          acq.ended();
        end
      end
      s = struct('Running', running, 'Scans', acq.Samples / (acq.Channels(2) - acq.Channels(1) + 1), ...
                 'Seconds', 0, 'Rate', acq.Rate, 'Board', acq.Board, 'Channels', acq.Channels, ...
                 'Range', acq.Range, 'RingSeconds', acq.RingSeconds);
      s.Seconds = s.Scans / acq.Rate;
    end

    function [data, t] = stop(acq)
      % acq.stop(), [data, t] = acq.stop(): see daqgate.stop.
      if nargout > 0
        [data, t] = acq.fetch();
      end
      if acq.Running
        status = cbHaltBackground(acq.Board, 1);
        acq.ended();
        if status ~= 0
          daqgate.Acquisition.driver_failed('daqgate.stop', acq.Board, status);
        end
      end
    end

    function delete(acq)
      % Halts the scan when the last variable holding the acquisition goes.
      if acq.Running
        cbHaltBackground(acq.Board, 1);
        acq.ended();
      end
    end
  end

  methods (Access = private)
    function ended(acq)
      % The scan runs no more: its ring goes back to the buffers to reuse.
      if acq.Running
        acq.Running = false;
        daqgate.buffer('release', acq.Handle);
      end
    end

    function overflowed(acq, found)
      % The fetch found more than a ring's worth since the previous one.
      away = found - acq.LastFetch;
      needed = ceil(2 * away * 10) / 10;   % twice the gap, in tenths of a second
      daqgate.Acquisition.fail('daqgate.fetch', 'overflow', sprintf(['the ring overflowed and the scan was ' ...
        'halted: %.3f s passed from the previous fetch to this one, and the ring holds %.3f s ' ...
        '(%d scans at %g scans/s); a ring of %.1f s (daqgate.start(..., ''Ring'', %.1f)) would have held ' ...
        'it, or fetch more often'], away, acq.RingSeconds, round(acq.RingSeconds * acq.Rate), acq.Rate, ...
        needed, needed));
    end
  end

  methods (Static, Hidden)
    % Shared by the functions of daqgate.

    function fail(caller, kind, text)
      % Raises daqgate:KIND with the message 'CALLER: TEXT'.
      error(['daqgate:' kind], '%s', [caller ': ' text]);
    end

    function driver_failed(caller, board, status)
      % A driver status other than 0, in words.
      daqgate.Acquisition.fail(caller, 'driver', sprintf('board %d: %s (status %d)', ...
        board, cbErrorText(status), status));
    end

    function [board, pair, rate, range] = scan(caller, board, channels, rate, range)
      % The arguments of a scan: board, channels, rate and range (empty
      % for range 0).
      board = daqgate.Acquisition.integer(caller, board, 'board', 0);
      pair = daqgate.Acquisition.channels(caller, channels);
      rate = daqgate.Acquisition.positive(caller, rate, 'rate');
      if isempty(range)
        range = 0;
      end
      range = daqgate.Acquisition.integer(caller, range, 'range', 0);
    end

    function limit = link_end(caller, board, directions, timeout)
      % Sets the directions of a link end's ports (a row of port and
      % direction each) and returns the time limit as the link's gateways
      % take it: 0 for none.
      for k = 1:size(directions, 1)
        status = cbSetPortDirection(board, directions(k, 1), directions(k, 2));
        if status ~= 0
          daqgate.Acquisition.driver_failed(caller, board, status);
        end
      end
      limit = timeout;
      if isinf(limit)
        limit = 0;
      end
    end

    function value = integer(caller, value, name, low)
      % A whole number of at least LOW.
      if ~isnumeric(value) || ~isreal(value) || ~isscalar(value) || ~isfinite(value) ...
          || value ~= fix(value) || value < low || value > 2^31 - 1
        daqgate.Acquisition.fail(caller, 'argument', sprintf('%s must be a whole number from %d', name, low));
      end
      value = double(value);
    end

    function value = positive(caller, value, name, allow_inf)
      % A positive number (of seconds, of scans per second).
      ok = isnumeric(value) && isreal(value) && isscalar(value) && value > 0 ...
        && (isfinite(value) || (nargin > 3 && allow_inf && value == Inf));
      if ~ok
        daqgate.Acquisition.fail(caller, 'argument', sprintf('%s must be a positive number', name));
      end
      value = double(value);
    end

    function pair = channels(caller, value)
      % [lowChan highChan] from one channel, a pair, or consecutive channels.
      ok = isnumeric(value) && isreal(value) && ~isempty(value) && numel(value) <= 256 ...
        && all(isfinite(value(:))) && all(value(:) == fix(value(:))) && all(value(:) >= 0);
      if ok
        value = double(value(:).');
        if numel(value) == 1
          pair = [value value];
        elseif numel(value) == 2
          pair = value;
        else
          pair = [value(1) value(end)];
          ok = all(diff(value) == 1);
        end
        ok = ok && pair(2) >= pair(1);
      end
      if ~ok
        daqgate.Acquisition.fail(caller, 'argument', ['channels must be one channel, [lowChan highChan] ' ...
          'with lowChan <= highChan, or consecutive channels']);
      end
    end

    function options = options(caller, options, args)
      % Name-value pairs over the defaults in OPTIONS (names taken in any case).
      if mod(numel(args), 2) ~= 0
        daqgate.Acquisition.fail(caller, 'argument', 'options must come in name, value pairs');
      end
      names = fieldnames(options);
      for i = 1:2:numel(args)
        which = [];
        if ischar(args{i})
          which = find(strcmpi(names, args{i}), 1);
        end
        if isempty(which)
          daqgate.Acquisition.fail(caller, 'argument', sprintf('option %d must be one of: %s', ...
            (i + 1) / 2, strjoin(names.', ', ')));
        end
        options.(names{which}) = args{i + 1};
      end
    end
  end
end
