function test_helpers()
  % The test helpers themselves: a failed check_eq raises an error that
  % shows both values of every kind (texts, cells, structs, logicals,
  % numbers) instead of failing itself; and check_error and check_raises
  % raise one naming what was raised and what was expected.

  % Equal values pass whatever their class, texts by their codes.
  check_eq('ab', [97 98], 'a text and its codes');
  check_eq(int8(3), 3, 'a number of another class');
  check_eq({1, 'a'; struct('f', 2), []}, {1, 'a'; struct('f', 2), []}, 'two equal cells');

  % Each failure: its exact message, or the parts of one that Octave
  % displays in its own way.
  exact = {@() check_eq('Bench 42!', sprintf('Bnch 42!\n'), 'two texts'), ...
           'two texts: got "Bench 42!", expected "Bnch 42!\n"';
           @() check_eq(sprintf('\t\x01\xE9"\\'), 'x', 'control and high characters'), ...
           'control and high characters: got "\t\x01\xE9\"\\", expected "x"';
           @() check_eq(true, false, 'two logicals'), 'two logicals: got true, expected false';
           @() check_eq(1:3, [1 2], 'two sizes'), 'two sizes: got [1 2 3], expected [1 2]';
           @() check_eq(100, 50, 'a % sign and %d in a name'), 'a % sign and %d in a name: got 100, expected 50';
           @() check_error(@() error('x: *** one'), '*** two', 'another error'), ...
           'another error: raised "x: *** one", expected "*** two"';
           @() check_error(@() 1, '*** two', 'no error'), 'no error: no error raised, expected "*** two"';
           @() check_raises(@() 1, 'a:b', 'one', 'none raised'), 'none raised: no error raised, expected a:b'};
  for i = 1:rows(exact)
    check_eq(raised(exact{i, 1}), exact{i, 2}, sprintf('the message of case %d', i));
  end
  parts = {@() check_eq({1, 'a'}, {1, 'b'}, 'two cells'), ...
           'two cells: got 1x2 cell: ', {'= a', 'expected 1x2 cell: ', '= b'};
           @() check_eq(struct('field', 1), struct('field', 2), 'two structs'), ...
           'two structs: got 1x1 struct: ', {'field = 1', 'expected 1x1 struct: ', 'field = 2'};
           @() check_eq({1}, 1, 'a cell and a number'), 'a cell and a number: got 1x1 cell: ', {'expected 1'};
           @() check_eq(zeros(1, 100), ones(1, 100), 'two long rows'), ...
           'two long rows: got 1x100 double, first [0 0 ', {'expected 1x100 double, first [1 1 '};
           @() check_raises(@() error('a:b', 'one'), 'a:b', 'two', 'another message'), ...
           'another message: got 1x2 cell: ', {'= a:b', '= one', 'expected 1x2 cell: ', '= two'}};
  for i = 1:rows(parts)
    [fn, prefix, within] = parts{i, :};
    message = raised(fn);
    shown = strncmp(message, prefix, numel(prefix)) && all(cellfun(@(p) ~isempty(strfind(message, p)), within));
    assert(shown, 'the message of "%s" shows both values: %s', prefix, message);
  end
end

function message = raised(fn)
  % The message of the error FN raises; a test failure if it raises none.
  try
    fn();
  catch err
    message = err.message;
    return;
  end
  error('test_helpers: a failing check raised no error');
end
