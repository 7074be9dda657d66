function [own, resident] = memory_rss()
  % [own, resident] = memory_rss(): this Octave process's resident memory
  % in kB, from /proc/self/statm in pages of 4096 bytes.  RESIDENT is all
  % of it (the second field); OWN leaves out the pages backed by files (the
  % third field): the code of Octave and its libraries and the rig file,
  % which the kernel drops and reads back as the machine's memory runs
  % short, so that RESIDENT falls or rises by megabytes while nothing is
  % allocated.  OWN is what a leak of the heap grows.
  fid = fopen('/proc/self/statm', 'r');
  fields = fscanf(fid, '%d');
  fclose(fid);
  resident = fields(2) * 4096 / 1024;
  own = (fields(2) - fields(3)) * 4096 / 1024;
end
