function test_analog()
  % Analog point I/O, the gain queue, sample buffers and the foreground scan
  % on the simulated front end.
  LSB10 = 20 / 65536;   % one count of the -10..+10 V range

  % Loopback: outputs 0 and 1 drive inputs 14 and 15.
  [count, status] = cbWriteAnalog(0, 0, 0, 2.5);
  check_eq([count status], [40960 0], 'write 2.5 V on the 10 V range');
  [volts, status] = cbReadAnalog(0, 14, 0);
  check_eq([volts status], [2.5 0], 'input 14 reads output 0');
  cbWriteAnalog(0, 1.9, 1, -1.25);
  check_eq(cbReadAnalog(0, 15, 1), -1.25, 'output 1.9 is output 1; input 15 reads it');
  check_eq(cbReadAnalog(1, 14, 0), 0, 'another board''s output is its own');
  [count, status] = cbWriteAnalog(0, 0, 0, 12);
  check_eq([count status], [65535 0], 'a voltage beyond the range clamps, never negative');
  check_eq(cbReadAnalog(0, 14, 0), 10 - LSB10, 'and reads back as full scale');
  check_eq(cbWriteAnalog(0, 0, 100, 0.1), round(0.1 * 6553.6), '0.1 V on 0..10 V');
  assert(abs(cbReadAnalog(0, 14, 100) - 0.1) <= 10 / 65536, 'within a count of 0.1 V');
  v = cbReadAnalog(0, 14, 100);
  check_eq(v, double(single(v)), 'volts carry single precision');

  % Signals set from another process with simboard.
  simboard('signal', '0', '9', 'dc', '1.234');
  assert(abs(cbReadAnalog(0, 9, 0) - 1.234) <= LSB10, 'a dc level from simboard');
  assert(abs(cbReadAnalog(0, 9, 3) - 1) <= 2 / 65536, 'clamped to the 1 V range');
  samples = zeros(1, 50);
  for i = 1:50
    samples(i) = cbReadAnalog(0, 2, 0);   % over three periods of the 30 Hz sine
    pause(0.002);
  end
  assert(min(samples) >= 1 - 1 - LSB10 && max(samples) <= 1 + 1 + LSB10 && std(samples) > 0.1, ...
         'input 2 is a 1 V sine offset by 1 V');

  % Unknown channels and ranges: statuses with their own texts.
  [~, status] = cbReadAnalog(0, 16, 0);
  assert(status == 9 && ~isempty(strfind(cbErrorText(status), 'channel')), 'input 16 does not exist');
  [~, status] = cbWriteAnalog(0, 2, 0, 1);
  check_eq(status, 9, 'output 2 does not exist');
  [~, status] = cbReadAnalog(0, 0, 5);
  assert(status == 10 && ~isempty(strfind(cbErrorText(status), 'range')), 'range 5 does not exist');

  % The channel/gain queue is kept per board.
  check_eq(cbSetGainQueue(2, [1 2 3], [0 1 100], 3), 0, 'a queue of three');
  assert(~isempty(strfind(simboard('show'), 'gain queue: 1/0 2/1 3/100')), 'simboard shows the queue');
  check_eq(cbSetGainQueue(2, [1 20], [0 0], 2), 9, 'channel 20 refused by the driver');
  check_error(@() cbSetGainQueue(2, [1 2], [0 0], 3), '*** cbSetGainQueue: numChans must not exceed the length of chanArray and gainArray', 'numChans beyond the lists');
  check_error(@() cbSetGainQueue(2, [1 2], 0, 1), '*** chanArray and gainArray must be the same length', 'lists of different lengths');
  check_eq(cbSetGainQueue(2, [], [], 0), 0, 'empty lists clear the queue');

  % A sample buffer and a foreground scan: channels interleaved, in volts.
  handle = cbNewSampleBuffer(1000.9);
  assert(handle < 0 && handle == fix(handle), 'the handle is a negative whole number (its top bit set)');
  simboard('signal', '0', '8', 'counter');
  simboard('signal', '0', '10', 'dc', '-5');
  [data, rate, status] = cbReadAnalogScan(0, [8.9 10.2], 30, 1000, 0, handle);
  check_eq([rate status], [1000 0], 'rate and status');
  check_eq(size(data), [1 30], 'one row of all samples');
  check_eq(data(1:3:end), -10 + (0:9) * LSB10, 'channel 8 counts its scans');
  level = double(single(-10 + round((1.234 + 10) / LSB10) * LSB10));   % 1.234 V, quantised
  check_eq(data(2:3:end), level * ones(1, 10), 'channel 9 holds its level');
  check_eq(data(3:3:end), -5 * ones(1, 10), 'channel 10 holds -5 V');
  [data, rate, status] = cbReadAnalogScan(0, [8 8], 0, 1000, 0, handle);
  check_eq(size(data), [1 0], 'no samples: a 1-by-0 row');
  [~, rate] = cbReadAnalogScan(0, [8 8], 10, 3000001, 0, handle);
  check_eq(rate, 3076923, 'the rate the pacer settles on comes back');

  % Pacing: a scan takes as long as its scans take at the rate.
  t = tic; cbReadAnalogScan(0, [0 1], 1000, 2000, 0, handle); elapsed = toc(t);
  assert(elapsed >= 0.24, '500 scans at 2000 per second took %.3f s', elapsed);

  % Refusals, and what a failed scan returns.
  [data, rate, status] = cbReadAnalogScan(0, [0 0], 1001, 1000, 0, handle);
  assert(status == 12 && isequal(size(data), [1 0]), 'a count past the buffer: a status and an empty row');
  [data, ~, status] = cbReadAnalogScan(0, [0 0], 5, 1000, 0, 12345);
  assert(status == 14 && ~isempty(strfind(cbErrorText(status), 'buffer')), 'a handle that names no buffer');
  check_error(@() cbReadAnalogScan(0, 3, 5, 1000, 0, handle), '*** cbReadAnalogScan: [lowChan, highChan] must be a real double array of at least two elements', 'a pair of one element');
  check_error(@() cbReadAnalogScan(0, [0 1], -2, 1000, 0, handle), '*** cbReadAnalogScan: sampleCount must not be negative', 'a negative count');
  [data, ~, status] = cbReadAnalogScan(0, [3 2], 4, 1000, 0, handle);
  assert(status == 9 && isempty(data), 'highChan below lowChan: a status');
  check_eq(cbNewSampleBuffer(0), 0, 'a buffer of no samples is not allocated');
end
