function line = receive(board, timeout, varargin)
  % daqgate.receive  Receive a line of text over the handshake link.
  %
  %   line = daqgate.receive(board)
  %   line = daqgate.receive(board, timeout)
  %   line = daqgate.receive(board, timeout, 'Ports', 'QL')
  %
  %   Makes this end's ports of BOARD what a reader needs (its receiver bit an
  %   output, data port and sender bit inputs), then waits for a writer's
  %   request, polling the sender bit, and returns the line without its line
  %   feed ('' for an empty line). Bytes 0x80-0xFF come whole, as char 128-255.
  %
  %   timeout  seconds to wait for the line, default 10; Inf for no limit
  %            (Ctrl-C ends the wait). Each byte's handshake may take as long.
  %   'Ports'  'cb' (default): cbFetchText on data 10, sender 11, receiver 14;
  %            'QL': QLFetchText on data 15, sender 16, receiver 12
  %
  %   Errors, by identifier:
  %     daqgate:timeout   no line arrived within the time limit, or the writer
  %                       stopped in the middle of one
  %     daqgate:link      the reader's other failures (a port access failed)
  %     daqgate:driver    a port's direction or the sender bit could not be had
  %     daqgate:argument  an argument out of its domain (the message names it)
  %
  %   Example (the writer in another process: daqgate.send(1, 'hello')):
  %     line = daqgate.receive(0, 10)      % 'hello'
  %
  %   See also daqgate.send, cbFetchText, QLFetchText.
  me = 'daqgate.receive';
  if nargin < 1
    error('daqgate:argument', '%s', 'daqgate.receive: usage: daqgate.receive(board, timeout, ''Ports'', ''cb'')');
  end
  if nargin < 2 || isempty(timeout)
    timeout = 10;
  end
  board = daqgate.Acquisition.integer(me, board, 'board', 0);
  timeout = daqgate.Acquisition.positive(me, timeout, 'timeout', true);
  options = daqgate.Acquisition.options(me, struct('Ports', 'cb'), varargin);
  if strcmpi(options.Ports, 'cb')
    reader = @cbFetchText; ports = [10 11 14];
  elseif strcmpi(options.Ports, 'QL')
    reader = @QLFetchText; ports = [15 16 12];
  else
    daqgate.Acquisition.fail(me, 'argument', 'Ports must be ''cb'' or ''QL''');
  end
  % Data and sender bit inputs (2), receiver bit an output (1).
  limit = daqgate.Acquisition.link_end(me, board, [ports(:) [2; 2; 1]], timeout);
  started = tic;
  while true
    [request, status] = cbReadPort(board, ports(2));
    if status ~= 0
      daqgate.Acquisition.driver_failed(me, board, status);
    end
    if request ~= 0
      break;        % a byte is on its way: the reader takes the whole line
    end
    if toc(started) >= timeout
      daqgate.Acquisition.fail(me, 'timeout', sprintf('no line arrived on board %d within %g s', board, timeout));
    end
    pause(0.001);   % where Ctrl-C is heard
  end
  try
    line = reader(board, limit, 64);
  catch err
    if ~isempty(strfind(lower(err.message), 'timeout'))
      daqgate.Acquisition.fail(me, 'timeout', sprintf('the writer stopped within a line on board %d (%s)', ...
        board, err.message));
    elseif ~isempty(strfind(err.message, 'interrupted'))
      rethrow(err);
    end
    daqgate.Acquisition.fail(me, 'link', sprintf('board %d: %s', board, err.message));
  end
end

%!error <no line arrived on board 3 within 0.1 s> daqgate.receive (3, 0.1)
%!error <Ports must be 'cb' or 'QL'> daqgate.receive (3, 1, 'Ports', 'xy')
