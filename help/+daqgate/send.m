function n = send(board, text, timeout, varargin)
  % daqgate.send  Send a line of text over the handshake link.
  %
  %   n = daqgate.send(board, text)
  %   n = daqgate.send(board, text, timeout)
  %   n = daqgate.send(board, text, timeout, 'Ports', 'QL')
  %
  %   Makes this end's ports of BOARD what a writer needs (data port 10 and
  %   sender bit 11 outputs, receiver bit 14 an input), then sends TEXT and a
  %   line feed, one byte per handshake, and returns the bytes sent, the line
  %   feed included. Bytes 0x80-0xFF pass whole; TEXT holds no line feed and
  %   no zero byte (each would end the reader's line).
  %
  %   timeout  seconds each handshake may wait for the reader, default 10;
  %            Inf for no limit
  %   'Ports'  'cb' (default) sends with cbPushText, for a reader of
  %            daqgate.receive(..., 'Ports', 'cb'); 'QL' with QLPushText, for
  %            'QL' readers (ports 15, 16 and 12, wired to this end's 10, 11, 14)
  %
  %   Errors, by identifier:
  %     daqgate:timeout   no reader answered within the time limit
  %     daqgate:link      the writer's other failures (a port access failed)
  %     daqgate:driver    a port's direction could not be set
  %     daqgate:argument  an argument out of its domain (the message names it)
  %
  %   Example (the reader in another process: daqgate.receive(1, 10)):
  %     n = daqgate.send(0, 'hello', 10)   % 6
  %
  %   See also daqgate.receive, cbPushText, QLPushText.
  me = 'daqgate.send';
  if nargin < 2
    error('daqgate:argument', '%s', 'daqgate.send: usage: daqgate.send(board, text, timeout, ''Ports'', ''cb'')');
  end
  if nargin < 3 || isempty(timeout)
    timeout = 10;
  end
  board = daqgate.Acquisition.integer(me, board, 'board', 0);
  if ~ischar(text) || size(text, 1) > 1 || any(double(text) > 255 | double(text) == 0 | double(text) == 10)
    daqgate.Acquisition.fail(me, 'argument', 'text must be a row of bytes (characters 1 to 255) without a line feed');
  end
  timeout = daqgate.Acquisition.positive(me, timeout, 'timeout', true);
  options = daqgate.Acquisition.options(me, struct('Ports', 'cb'), varargin);
  if strcmpi(options.Ports, 'cb')
    writer = @cbPushText; name = 'cbPushText';
  elseif strcmpi(options.Ports, 'QL')
    writer = @QLPushText; name = 'QLPushText';
  else
    daqgate.Acquisition.fail(me, 'argument', 'Ports must be ''cb'' or ''QL''');
  end
  % Data and sender bit outputs (1), receiver bit an input (2).
  limit = daqgate.Acquisition.link_end(me, board, [10 1; 11 1; 14 2], timeout);
  try
    n = writer(board, [text char(10)], limit);
  catch err
    if ~isempty(strfind(lower(err.message), 'timeout'))
      daqgate.Acquisition.fail(me, 'timeout', sprintf('no reader answered on board %d within %g s (%s)', ...
        board, timeout, err.message));
    elseif ~isempty(strfind(err.message, 'interrupted'))
      rethrow(err);
    end
    daqgate.Acquisition.fail(me, 'link', sprintf('board %d: %s', board, err.message));
  end
end

%!error <no reader answered on board 3 within 0.2 s> daqgate.send (3, 'lost', 0.2)
%!error <text must be a row of bytes> daqgate.send (3, sprintf ('a\nb'))
