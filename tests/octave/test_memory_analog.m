function test_memory_analog()
  % Resident memory stays flat over many calls of the analog gateways:
  % point I/O, the gain queue, the sample buffer and the foreground scan,
  % the background scan's start, fetch, query and halt, on their success
  % paths and their error paths (see memory_path; test_memory does the
  % digital and text link gateways).  Every path runs 3e4 times but the
  % foreground scan of samples, which waits out its pacing on every call:
  % 1e4 times.
  FAST = 3e4; PACED = 1e4;
  started = tic;
  simboard('reset');

  % Point I/O: output 0 loops back to input 14.
  [~, status] = cbReadAnalog(0, 16, 0);
  assert(status ~= 0, 'input 16 does not exist: a status');
  memory_path('[count, status] = cbWriteAnalog(0, 0, 0, 2.5)', FAST, '');
  memory_path('[volts, status] = cbReadAnalog(0, 14, 0)', FAST, '');
  memory_path('[volts, status] = cbReadAnalog(0, 16, 0)', FAST, '');
  memory_path('cbReadAnalog(0, 14)', FAST, '*** Usage: cbReadAnalog(boardNum, channel, vrange)');
  memory_path('cbWriteAnalog(0, 0, 0)', FAST, '*** Usage: cbWriteAnalog(boardNum, channel, vrange, volts)');
  memory_path('cbWriteAnalog(0, 0, 0, ''a'')', FAST, '*** cbWriteAnalog: volts must be a real double number');

  % The gain queue, with lists built in the call as ranges (0:7 stays a
  % range in Octave until a gateway asks for its elements) and as
  % matrices, and with lists prebuilt in variables.
  check_eq(cbSetGainQueue(0, 0:7, zeros(1, 8), 8), 0, 'a queue of a range of channels');
  assert(~isempty(strfind(simboard('show'), 'gain queue: 0/0 1/0 2/0 3/0 4/0 5/0 6/0 7/0')), 'simboard shows it');
  assert(cbSetGainQueue(0, [1 20], [0 0], 2) ~= 0, 'channel 20: a status');
  v.chans = [0 1 2 3 4 5 6 7];
  v.gains = zeros(1, 8);
  memory_path('status = cbSetGainQueue(0, 0:7, zeros(1, 8), 8)', FAST, '');
  memory_path('status = cbSetGainQueue(0, 0:3, 0:3, 4)', FAST, '');
  memory_path('status = cbSetGainQueue(0, [0 1 2 3], [0 1 2 3], 4)', FAST, '');
  memory_path('status = cbSetGainQueue(0, v.chans, v.gains, 8)', FAST, '', v);
  memory_path('status = cbSetGainQueue(0, [1 20], [0 0], 2)', FAST, '');
  memory_path('status = cbSetGainQueue(0, [], [], 0)', FAST, '');
  memory_path('cbSetGainQueue(0, [1 2], 0, 1)', FAST, '*** chanArray and gainArray must be the same length');
  memory_path('cbSetGainQueue(0, v.chans, v.gains, 9)', FAST, '*** cbSetGainQueue: numChans must not exceed the length of chanArray and gainArray', v);
  memory_path('cbSetGainQueue(0, [0 NaN], [0 0], 2)', FAST, '*** cbSetGainQueue: chanArray must be a finite number within the 32-bit integer range');
  memory_path('cbSetGainQueue(0, v.chans, v.gains)', FAST, '*** Usage: cbSetGainQueue(boardNum, chanArray, gainArray, numChans', v);

  % Sample buffers and the foreground scan.  A buffer lives as long as the
  % process and no gateway frees one: allocating one per call grows memory
  % by design, so only the calls that allocate nothing are measured.
  check_eq(cbNewSampleBuffer(0), 0, 'a buffer of no samples is not allocated');
  v.h = cbNewSampleBuffer(1000);
  [data, rate, status] = cbReadAnalogScan(0, [0 1], 10, 1000000, 0, v.h);
  assert(status == 0 && isequal(size(data), [1 10]), 'a foreground scan of 10 samples');
  [data, ~, status] = cbReadAnalogScan(0, [0 1], 10, 1000000, 0, 12345);
  assert(status ~= 0 && isempty(data), 'a handle that names no buffer: a status');
  memory_path('handle = cbNewSampleBuffer(0)', FAST, '');
  memory_path('cbNewSampleBuffer(NaN)', FAST, '*** cbNewSampleBuffer: numPoints must be a finite number within the 32-bit integer range');
  memory_path('cbNewSampleBuffer()', FAST, '*** Usage: cbNewSampleBuffer(numPoints)');
  memory_path('[data, rate, status] = cbReadAnalogScan(0, [0 1], 10, 1000000, 0, v.h)', PACED, '', v);
  memory_path('[data, rate, status] = cbReadAnalogScan(0, [0 1], 0, 1000000, 0, v.h)', FAST, '', v);
  memory_path('[data, rate, status] = cbReadAnalogScan(0, [0 1], 10, 1000000, 0, 12345)', FAST, '');
  memory_path('cbReadAnalogScan(0, 3, 10, 1000000, 0, v.h)', FAST, '*** cbReadAnalogScan: [lowChan, highChan] must be a real double array of at least two elements', v);
  memory_path('cbReadAnalogScan(0, [0 1], -2, 1000000, 0, v.h)', FAST, '*** cbReadAnalogScan: sampleCount must not be negative', v);
  memory_path('cbReadAnalogScan(0, [0 1], 10, 1000000, 0)', FAST, '*** Usage: cbReadAnalogScan(boardNum, [lowChan, highChan], sampleCount, sampleRate, vrange, memHandle');

  % Background scans.  Starting one and halting it, over and over.
  memory_path('[rate, status] = cbReadAnalogBackgroundScan(0, [0 1], 1000, 1000, 0, v.h); status = cbHaltBackground(0, 1)', FAST, '', v);
  memory_path('cbReadAnalogBackgroundScan(0, [0 1], 1000, 1000, 0)', FAST, '*** Usage: cbReadAnalogBackgroundScan(boardNum, [lowChan, highChan], bufferSize, sampleRate, vrange, memHandle)');

  % A running scan, fetched from as a script does: each fetch returns the
  % scans since the previous one.  4 channels at 10,000 scans per second
  % into a ring of 10 s: no pause of this process overflows it, and one
  % (on a busy machine) gives a fetch of a few kB, not a matrix large
  % enough to grow the heap for good by itself.
  v.ring = cbNewSampleBuffer(400000);
  [~, status] = cbReadAnalogBackgroundScan(0, [0 3], 400000, 10000, 0, v.ring);
  check_eq(status, 0, 'a scan into a ring of 400,000 samples starts');
  v.count = 0; v.index = 0;
  v = memory_path('[data, state, v.count, v.index] = cbFetchBackgroundData(0, v.count, v.index, 400000, [0 3], 0, v.ring)', FAST, '', v);
  assert(v.count > 10000, 'the fetches took %d samples', v.count);
  [~, status] = cbReadAnalogBackgroundScan(0, [0 1], 1000, 1000, 0, v.h);
  assert(status ~= 0, 'a second scan on the board: a status');
  memory_path('[rate, status] = cbReadAnalogBackgroundScan(0, [0 1], 1000, 1000, 0, v.h)', FAST, '', v);
  memory_path('[state, count, index, status] = cbQueryScanState(0, 1)', FAST, '');
  memory_path('cbFetchBackgroundData(0, 2^30, 0, 400000, [0 3], 0, v.ring)', FAST, ...
              '*** cbFetchBackgroundData: previousCount is ahead of the scan''s count: pass the count and index the previous fetch of this scan returned', v);
  memory_path('cbFetchBackgroundData(0, 0, 0, 400000, [3 0], 0, v.ring)', FAST, '*** cbFetchBackgroundData: [lowChan,highChan] must not have highChan below lowChan', v);
  memory_path('cbFetchBackgroundData(0, 0, 0, 400000, [0 3], 0)', FAST, '*** Usage: cbFetchBackgroundData(boardNum, previousCount, previousIndex, bufferSize, [lowChan,highChan], vrange, memHandle');

  % A stopped scan: a fetch gives 0-by-0, a query state 0.
  check_eq(cbHaltBackground(0, 1), 0, 'halt');
  [data, state] = cbFetchBackgroundData(0, 0, 0, 1000, [0 1], 0, v.h);
  assert(isequal(size(data), [0 0]) && state == 0, 'nothing to fetch from a stopped scan');
  assert(cbHaltBackground(0, 2) ~= 0, 'function type 2 names nothing: a status');
  memory_path('[data, state, count, index] = cbFetchBackgroundData(0, 0, 0, 1000, [0 1], 0, v.h)', FAST, '', v);
  memory_path('[state, count, index, status] = cbQueryScanState(0, 1)', FAST, '');
  memory_path('status = cbHaltBackground(0, 1)', FAST, '');
  memory_path('status = cbHaltBackground(0, 2)', FAST, '');
  memory_path('cbQueryScanState(0)', FAST, '*** Usage: cbQueryScanState(boardNum, functionType)');
  memory_path('cbHaltBackground(0)', FAST, '*** Usage: cbHaltBackground(boardNum, functionType).');

  % Overflow: a ring of one scan at a million scans per second overflows
  % before the first fetch, which raises the error and stops the scan; so
  % each run starts its own scan (and fetches again in the rare case the
  % first fetch came before the ring was full).
  memory_path(['[rate, status] = cbReadAnalogBackgroundScan(0, [0 1], 2, 1000000, 0, v.h); ' ...
               'while status == 0, cbFetchBackgroundData(0, 0, 0, 2, [0 1], 0, v.h); end'], FAST, '*** Buffer overflow!!!', v);
  check_eq(cbQueryScanState(0, 1), 0, 'the overflow stopped the scan');

  printf('memory: %.0f s\n', toc(started));
end
