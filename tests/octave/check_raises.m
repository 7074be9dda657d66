function check_raises(fn, identifier, message, what)
  % check_raises(FN, IDENTIFIER, MESSAGE, WHAT): calling FN raises the error
  % IDENTIFIER with exactly MESSAGE; if not, an error naming WHAT with what
  % was raised and what was expected.
  raised = false;
  try
    fn();
  catch err
    raised = true;
    got = {err.identifier, err.message};
  end
  if ~raised
    error('%s: no error raised, expected %s', what, identifier);
  end
  check_eq(got, {identifier, message}, what);
end
