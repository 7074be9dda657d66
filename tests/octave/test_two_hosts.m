function test_two_hosts()
  % Two Octave processes on one rig: a second host drives board 1 and this
  % one reads board 0 through the wiring, then the other way round.
  cbSetPortDirection(0, 5, 1);
  cbWritePort(0, 5, 4660);
  mexdir = fileparts(which('cbReadPort'));
  peer = sprintf(['octave-cli --norc --no-history --quiet --eval "addpath(''%s''); ' ...
                  'v = cbReadPort(1, 5); cbSetPortDirection(1, 6, 1); cbWritePort(1, 6, v + 1); exit(v ~= 4660)"'], mexdir);
  status = system(peer);
  check_eq(status, 0, 'the other host saw 0x1234 on board 1');
  check_eq(cbReadPort(0, 6), 4661, 'this host sees what the other wrote');

  % simboard works on the same rig.
  out = simboard('read', '1.5');
  check_eq(str2double(out), 4660, 'simboard reads what this host wrote');
  simboard('direction', '1.7', 'out');
  simboard('write', '1.7', '99');
  check_eq(cbReadPort(0, 7), 99, 'this host reads what simboard wrote');
  simboard('reset');
  check_eq(cbReadPort(0, 7), 0, 'reset powers every port up as an input at 0');
  check_eq(cbWritePort(0, 5, 1), 4, 'after reset 0.5 is an input again');
end
