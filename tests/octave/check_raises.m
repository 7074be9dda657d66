function check_raises(fn, identifier, message, what)
  % check_raises(FN, IDENTIFIER, MESSAGE, WHAT): calling FN raises the error
  % IDENTIFIER with exactly MESSAGE.
  try
    fn();
    check(false, sprintf('%s: no error raised, expected %s', what, identifier));
  catch err
    check_eq({err.identifier, err.message}, {identifier, message}, what);
  end
end
