function check_eq(actual, expected, what)
  % check_eq(ACTUAL, EXPECTED, WHAT): equal in value and size, or an error
  % naming WHAT and showing both values, whatever they are (texts with
  % their control and high characters escaped, cells, structs).  Numbers,
  % texts and logicals compare by value whatever their class (a text by its
  % character codes); cells and structs compare whole.
  if ~same_value(actual, expected)
    error('%s: got %s, expected %s', what, shown(actual), shown(expected));
  end
end

function ok = same_value(a, b)
  plain = @(v) isnumeric(v) || ischar(v) || islogical(v);
  try
    if plain(a) && plain(b)
      ok = isequal(size(a), size(b)) && isequal(double(a), double(b));
    else
      ok = isequal(a, b);
    end
  catch
    ok = false;
  end
end

% A value as a line of the log: a text in quotes with its control and high
% characters escaped, numbers and logicals as a matrix, anything else as
% Octave displays it.
function text = shown(v)
  try
    if ischar(v) && (isempty(v) || rows(v) == 1)
      text = ['"' escaped(v) '"'];
    elseif (isnumeric(v) || islogical(v)) && ndims(v) == 2 && numel(v) <= 64
      text = mat2str(v);
    elseif isnumeric(v) || islogical(v) || ischar(v)
      text = sprintf('%s %s, first %s', size_text(v), class(v), mat2str(double(v(1:min(end, 16)))));
    else
      text = sprintf('%s %s: %s', size_text(v), class(v), ...
                     regexprep(strtrim(disp(v)), '\s*\n\s*', '; '));
    end
  catch err
    text = sprintf('(a %s %s that cannot be shown: %s)', size_text(v), class(v), err.message);
  end
end

function text = escaped(s)
  text = '';
  for c = double(s)
    switch c
      case 10, text = [text '\n'];
      case 13, text = [text '\r'];
      case 9, text = [text '\t'];
      case 34, text = [text '\"'];
      case 92, text = [text '\\'];
      otherwise
        if c < 32 || c >= 127
          text = [text sprintf('\\x%02X', c)];
        else
          text(end + 1) = char(c);
        end
    end
  end
end

function text = size_text(v)
  text = strjoin(arrayfun(@num2str, size(v), 'UniformOutput', false), 'x');
end
