function check_error(fn, expected, what)
  % check_error(FN, EXPECTED, WHAT): calling FN raises an error whose message
  % ends with EXPECTED (Octave puts the gateway's name in front); if not,
  % an error naming WHAT with the message raised, if any, and the one
  % expected.
  raised = false;
  try
    fn();
  catch err
    raised = true;
    msg = err.message;
  end
  if ~raised
    error('%s: no error raised, expected "%s"', what, expected);
  end
  if ~(numel(msg) >= numel(expected) && strcmp(msg(end-numel(expected)+1:end), expected))
    error('%s: raised "%s", expected "%s"', what, msg, expected);
  end
end
