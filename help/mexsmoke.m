% mexsmoke  Double a real scalar: the board-free example gateway.
%
%   y = mexsmoke(x)
%
%   Returns 2*x for a real double scalar x. Raises 'One input required.',
%   'Too many output arguments' or 'Input must be a noncomplex scalar double.'.
%
%   Arguments (real doubles; integers are truncated toward zero):
%     x  a real double scalar
%
%   Outputs (all set, whatever number the script asks for):
%     y  2*x
%
%   Example:
%     mexsmoke(21)   % 42
%
%   See also cbErrorText.

%!assert (mexsmoke (3), 6)
%!assert (mexsmoke (-0.25), -0.5)
%!error <One input required.> mexsmoke ()
%!error <Input must be a noncomplex scalar double.> mexsmoke ([1 2])
