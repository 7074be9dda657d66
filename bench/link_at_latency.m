function rate = link_at_latency(chars, seconds)
  % rate = link_at_latency(CHARS, SECONDS) times a line of CHARS characters
  % (and its line feed) from a gateway writer in a second Octave to the
  % gateway reader here, with every driver call on both boards taking
  % SECONDS (simboard latency): characters per second at a real board's pace.
  sb = getenv('DAQGATE_SIMBOARD');
  line = char(65 + mod(0:chars - 1, 26));
  system([sb ' reset']);
  system(sprintf('%s latency 0 %g', sb, seconds));
  system(sprintf('%s latency 1 %g', sb, seconds));
  [received, took] = gateway_line(sprintf('[''%s'' char(10)]', line), '', 1024);
  system([sb ' reset']);
  assert(strcmp(received, line), 'the line at a board''s pace did not arrive whole');
  rate = (chars + 1) / took;
end
