function check_eq(actual, expected, what)
  % check_eq(ACTUAL, EXPECTED, WHAT): equal in class-blind value and size.
  ok = isequal(size(actual), size(expected)) && isequal(double(actual), double(expected));
  if ~ok
    what = sprintf('%s: got %s, expected %s', what, mat2str(actual), mat2str(expected));
  end
  check(ok, what);
end
