function line = soak_line(seed, k, longest)
  % line = soak_line(SEED, K, LONGEST): line K of a link soak, 1 to LONGEST
  % random bytes from 1-255 but the line feed, then a line feed.
  state = mod(seed * 1000003 + k * 7919, 2^31 - 1);
  n = 1 + mod(state, longest);
  bytes = zeros(1, n);
  for i = 1:n
    state = mod(state * 48271, 2^31 - 1);
    bytes(i) = 1 + mod(state, 254);       % 1..254
  end
  bytes(bytes >= 10) = bytes(bytes >= 10) + 1;   % skip the line feed: 1..9, 11..255
  line = char([bytes 10]);
end
