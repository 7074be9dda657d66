function s = state(acq)
  % daqgate.state  Where a continuous acquisition stands.
  %
  %   s = daqgate.state(acq)
  %
  %   A struct of:
  %     Running      true while the driver's scan runs (cbQueryScanState)
  %     Scans        scans fetched so far
  %     Seconds      the time they cover, Scans / Rate
  %     Rate         scans per second, as the driver settled it
  %     Board, Channels, Range, RingSeconds   as started
  %
  %   Example:
  %     acq = daqgate.start(0, 0:3, 1000);
  %     pause(0.1); daqgate.fetch(acq);
  %     s = daqgate.state(acq)             % Running 1, Scans about 100
  %     daqgate.stop(acq);
  %
  %   See also daqgate.start, daqgate.fetch, daqgate.stop.
  if nargin ~= 1 || ~isa(acq, 'daqgate.Acquisition')
    error('daqgate:argument', '%s', 'daqgate.state: acq must be what daqgate.start returned');
  end
  s = acq.state();
end
