function fetch_forever(ready)
  % fetch_forever(READY): a fetch loop, as a script runs one, until Ctrl-C;
  % the file READY appears once it runs.
  acq = daqgate.start(0, 0:3, 10000);
  fclose(fopen(ready, 'w'));
  while true
    daqgate.fetch(acq);
    pause(0.05);
  end
end
