function [data, t] = fetch(acq)
  % daqgate.fetch  The scans a continuous acquisition took since the last fetch.
  %
  %   [data, t] = daqgate.fetch(acq)
  %
  %   Returns the new whole scans of the acquisition started by daqgate.start:
  %     data  scans-by-channels volts, a column per channel, oldest scan first
  %     t     a column of their times in seconds from the first scan, from the
  %           scan's own count: (scan number) / acq.Rate
  %   Every scan comes once, none skipped, across any number of wraps of the
  %   ring and of the driver's 32-bit count. No new scan gives 0 rows; so does
  %   a scan that is no longer running (stopped, or halted by another call).
  %
  %   Errors, by identifier:
  %     daqgate:overflow  more than the ring holds arrived since the previous
  %                       fetch: the scan is halted, and the message says how
  %                       long passed since the previous fetch, how long the
  %                       ring holds and what 'Ring' would have held it
  %     daqgate:driver    the fetch gateway's other failures
  %
  %   Example:
  %     acq = daqgate.start(0, 0:1, 1000);
  %     pause(0.2);
  %     [data, t] = daqgate.fetch(acq);   % about 200 scans: size(data, 2) is 2
  %     daqgate.stop(acq);
  %
  %   See also daqgate.start, daqgate.state, daqgate.stop.
  if nargin ~= 1 || ~isa(acq, 'daqgate.Acquisition')
    error('daqgate:argument', '%s', 'daqgate.fetch: acq must be what daqgate.start returned');
  end
  [data, t] = acq.fetch();
end

%!test
%! cbWriteAnalog (3, 0, 0, 2.5);          % input 14 of the simulated board follows output 0
%! acq = daqgate.start (3, 14, 1000);
%! data = []; t = [];
%! for k = 1:5
%!   pause (0.02);
%!   [d, tk] = daqgate.fetch (acq);
%!   data = [data; d]; t = [t; tk];
%! end
%! daqgate.stop (acq);
%! n = numel (t);
%! assert (n > 0);
%! assert (data, 2.5 * ones (n, 1));
%! assert (t, (0:n-1)' / 1000);
