% daqgate: gateways from MATLAB and Octave scripts to a data-acquisition board
% Version 0.1.0
%
% Digital ports
%   cbReadPort                  - Read a digital port of the board
%   cbWritePort                 - Write a value to a digital port
%   cbSetPortDirection          - Make a digital port an input or an output
%
% Board utilities
%   cbBoardLabel                - The name of a board
%   cbErrorText                 - The text of a driver status code
%
% Text link, writers
%   cbPushText                  - Send a line of text over the handshake link
%   QLPushText                  - Send a line of text over the handshake link, clearing the data port
%
% Text link, readers
%   cbFetchText                 - Receive a line of text over the handshake link
%   QLFetchText                 - Receive a line of text on ports 15, 16 and 12
%   QLFetchTextD                - Receive a line of text on ports 14, 15 and 10, printing each phase
%   QLPullChars                 - Receive a line of text on ports 15, 16 and 12, keeping its line feed
%
% Analog point I/O
%   cbReadAnalog                - Read one analog input in volts
%   cbWriteAnalog               - Set one analog output in volts
%
% Scans
%   cbSetGainQueue              - Load a channel/gain queue
%   cbNewSampleBuffer           - Allocate a driver sample buffer
%   cbReadAnalogScan            - Scan a range of analog inputs, in the foreground
%
% Background acquisition
%   cbReadAnalogBackgroundScan  - Start a continuous background scan
%   cbFetchBackgroundData       - Fetch the scans a background scan stored since the previous fetch
%   cbQueryScanState            - The status, count and index of a background operation
%   cbHaltBackground            - Stop a background operation
%
% Example
%   mexsmoke                    - Double a real scalar: the board-free example gateway
%
% Type 'help NAME' for a gateway's calling form, arguments and an example.
