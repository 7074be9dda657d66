% daqgate: script functions over the gateways
%
% Acquisition
%   daqgate.read      - Acquire channels for a time, in the foreground
%   daqgate.start     - Start a continuous acquisition in the background
%   daqgate.fetch     - The scans a continuous acquisition took since the last fetch
%   daqgate.state     - Where a continuous acquisition stands
%   daqgate.stop      - End a continuous acquisition
%   daqgate.record       - Acquire into a WAV file as the scans come, with progress
%   daqgate.scope     - Watch channels live in a figure
%
% Text link
%   daqgate.send      - Send a line of text over the handshake link
%   daqgate.receive   - Receive a line of text over the handshake link
%
% Under them
%   daqgate.buffer    - A driver sample buffer, reused rather than allocated anew
%   daqgate.Acquisition - The continuous acquisition that daqgate.start returns
%
% Errors carry identifiers that a script can catch by kind:
%   daqgate:argument  an argument out of its domain; the message names it
%   daqgate:driver    a driver status other than 0, in cbErrorText's words
%   daqgate:overflow  a continuous acquisition left alone longer than its ring holds
%   daqgate:timeout   the text link's time limit passed
%   daqgate:link      the text link's other failures
%   daqgate:file      daqgate.record's file cannot be written
%
%   try
%     [data, t] = daqgate.read(0, 0:3, 1000, 1);
%   catch err
%     if strcmp(err.identifier, 'daqgate:driver'), disp(err.message); end
%   end
%
% Each has help: 'help daqgate.read'. The gateways under them: 'help Contents'.
