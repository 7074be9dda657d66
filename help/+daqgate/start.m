function acq = start(board, channels, rate, range, varargin)
  % daqgate.start  Start a continuous acquisition in the background.
  %
  %   acq = daqgate.start(board, channels, rate)
  %   acq = daqgate.start(board, channels, rate, range, 'Ring', seconds)
  %
  %   Starts a background scan of CHANNELS of BOARD at RATE scans per second
  %   and returns at once. The driver fills a ring buffer on its own; take the
  %   new scans with daqgate.fetch, look with daqgate.state, end with
  %   daqgate.stop.
  %
  %   channels  one channel, [lowChan highChan], or consecutive channels (4:7)
  %   range     the driver's range code, default 0 (-10..+10 V)
  %   'Ring'    how many seconds the ring holds, default 2: enough for a
  %             script that fetches every 0.5 s, with room for a slow moment.
  %             A script that leaves the ring longer gets daqgate:overflow.
  %
  %   acq.Rate is the rate the driver settled on, acq.RingSeconds what the
  %   ring holds at it.
  %
  %   Ctrl-C and errors: the scan is halted when acq goes, that is when the
  %   function holding it returns or ends by an error or Ctrl-C (MATLAB and
  %   Octave both delete a handle object then). Run the acquisition loop in a
  %   function, not at the command line, whose variables outlive a Ctrl-C; or
  %   call daqgate.stop(acq) after it.
  %
  %   Errors, by identifier:
  %     daqgate:argument  an argument out of its domain (the message names it)
  %     daqgate:driver    a driver status other than 0, in cbErrorText's words
  %                       with the status (a scan already runs on the board, ...)
  %
  %   Example:
  %     acq = daqgate.start(0, [4 7], 2000);
  %     for k = 1:10
  %       pause(0.1);
  %       [data, t] = daqgate.fetch(acq);   % the new scans, a column per channel
  %     end
  %     daqgate.stop(acq);
  %
  %   See also daqgate.fetch, daqgate.state, daqgate.stop, daqgate.record, daqgate.scope.

  me = 'daqgate.start';
  if nargin < 3
    error('daqgate:argument', '%s', 'daqgate.start: usage: daqgate.start(board, channels, rate, range, ''Ring'', seconds)');
  end
  if nargin < 4
    range = [];
  end
  [board, pair, rate, range] = daqgate.Acquisition.scan(me, board, channels, rate, range);
  options = daqgate.Acquisition.options(me, struct('Ring', 2), varargin);
  ring = daqgate.Acquisition.positive(me, options.Ring, 'Ring');
  acq = daqgate.Acquisition(board, pair, rate, range, ring);
end

%!test
%! acq = daqgate.start (3, [12 13], 1000, 0, 'Ring', 0.5);
%! s = daqgate.state (acq);
%! assert ([s.Running s.Rate s.RingSeconds], [true 1000 0.5]);
%! daqgate.stop (acq);
%! s = daqgate.state (acq);
%! assert (s.Running, false);
%!error <Ring must be a positive number> daqgate.start (3, 0, 1000, 0, 'Ring', -1)
