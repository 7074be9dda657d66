function [data, t] = stop(acq)
  % daqgate.stop  End a continuous acquisition.
  %
  %   daqgate.stop(acq)
  %   [data, t] = daqgate.stop(acq)
  %
  %   Halts the background scan of acq (cbHaltBackground); with outputs, first
  %   fetches the scans not fetched yet, as daqgate.fetch. Stopping a scan
  %   already stopped does nothing. The ring's buffer goes back to be reused.
  %   A driver status other than 0 from the halt raises daqgate:driver.
  %
  %   Example:
  %     acq = daqgate.start(0, 0, 1000);
  %     pause(0.1);
  %     [data, t] = daqgate.stop(acq);    % about 100 scans, then the scan halted
  %
  %   See also daqgate.start, daqgate.fetch, daqgate.state.
  if nargin ~= 1 || ~isa(acq, 'daqgate.Acquisition')
    error('daqgate:argument', '%s', 'daqgate.stop: acq must be what daqgate.start returned');
  end
  if nargout > 0
    [data, t] = acq.stop();
  else
    acq.stop();
  end
end

%!test
%! acq = daqgate.start (3, 0, 1000);
%! pause (0.05);
%! [data, t] = daqgate.stop (acq);
%! assert (size (data, 1) >= 40);
%! assert (cbQueryScanState (3, 1), 0);
%! daqgate.stop (acq);                     % a second stop does nothing
