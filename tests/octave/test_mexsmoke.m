function test_mexsmoke()
  % The board-free example in the real host.
  check_eq(mexsmoke(3), 6, '3 doubled');
  check_eq(mexsmoke(-0.25), -0.5, '-0.25 doubled');
  z = mexsmoke(-0);
  assert(z == 0 && 1 / z < 0, 'negative zero keeps its sign');
  assert(isnan(mexsmoke(NaN)), 'NaN doubled is NaN');
  check_eq(mexsmoke(-Inf), -Inf, '-Inf doubled');
  check_eq(mexsmoke(1e308), Inf, 'overflow to Inf');
  mexsmoke(21);
  check_eq(ans, 42, 'no output requested still sets one');
  check_error(@() mexsmoke(), 'One input required.', 'no argument');
  check_error(@() mexsmoke(1, 2), 'One input required.', 'two arguments');
  message = 'no error';
  try
    [a, b] = mexsmoke(1);
  catch err
    message = err.message;
  end
  assert(~isempty(strfind(message, 'Too many output arguments')), 'two outputs raise: %s', message);
  bad = {[1 2], [], 1+2i, int8(1), single(1), 'a', true, {1}};
  for i = 1:numel(bad)
    check_error(@() mexsmoke(bad{i}), 'Input must be a noncomplex scalar double.', ['argument of class ' class(bad{i})]);
  end
end
