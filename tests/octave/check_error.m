function check_error(fn, expected, what)
  % check_error(FN, EXPECTED, WHAT): calling FN raises an error whose message
  % ends with EXPECTED (Octave puts the gateway's name in front).
  try
    fn();
    check(false, sprintf('%s: no error raised, expected "%s"', what, expected));
  catch err
    msg = err.message;
    ok = numel(msg) >= numel(expected) && strcmp(msg(end-numel(expected)+1:end), expected);
    check(ok, sprintf('%s: raised "%s", expected "%s"', what, msg, expected));
  end
end
