function test_rig_owner()
  % The per-user default rig as another account leaves it, met by the
  % driver in a host: a file of another user's, a file of the user's own
  % open to others, a link planted at its name.  Each is refused with its
  % status and text, and never written.  The default is a fixed name in
  % /dev/shm, so each host runs in a mount namespace of its own with a
  % /dev/shm of its own (root, as CI runs).
  if system('unshare -m true 2>/dev/null') ~= 0
    printf('skipped: a mount namespace of its own takes root\n');
    exit(0);
  end
  mexdir = fileparts(which('cbReadPort'));
  work = getenv('DAQGATE_TEST_WORK');
  script = fullfile(work, 'default-rig.sh');
  fid = fopen(script, 'w');
  fprintf(fid, '%s\n', ...
    'mount -t tmpfs -o mode=1777 daqgate-test /dev/shm || exit 3', ...
    'rig=/dev/shm/daqgate-rig-$(id -u)', ...
    'printf ''my thesis data\n'' > /dev/shm/notes.txt', ...
    'case "$1" in', ...
    '  other) printf squatter > "$rig"; chown nobody "$rig"; chmod 666 "$rig";;', ...
    '  open) : > "$rig"; chmod 666 "$rig";;', ...
    '  link) ln -s /dev/shm/notes.txt "$rig";;', ...
    'esac', ...
    'unset DAQGATE_RIG', ...
    ['octave-cli --norc --no-history --quiet --eval "addpath(''' mexdir '''); ' ...
     '[v, s] = cbReadPort(0, 0); d = cbSetPortDirection(0, 0, 1); w = cbWritePort(0, 0, 1); ' ...
     'printf(''%d %d %d %s\n'', s, w, d, cbErrorText(s))" 2>/dev/null'], ...
    '[ "$1" = none ] || printf "[%s] [%s]\n" "$(cat "$rig")" "$(cat /dev/shm/notes.txt)"');
  fclose(fid);
  owner = ['The simulated rig file belongs to another user or is open to others: the default rig must be ' ...
           'yours alone; remove it, or name another place in DAQGATE_RIG.'];
  linked = ['The simulated rig file is not a regular file (a folder, link, device or pipe stands at its ' ...
            'path): see DAQGATE_RIG.'];
  cases = {'other', ['23 23 23 ' owner], '[squatter] [my thesis data]';
           'open', ['23 23 23 ' owner], '[] [my thesis data]';
           'link', ['22 22 22 ' linked], '[my thesis data] [my thesis data]';
           'none', '0 0 0 No error has occurred.', ''};
  for i = 1:rows(cases)
    [how, text, files] = cases{i, :};
    [status, out] = system(sprintf('unshare -m --propagation private sh %s %s', script, how));
    lines = strsplit(strtrim(out), "\n");
    check_eq(status, 0, ['a status, not a crash: ' how]);
    check_eq(lines{1}, text, ['the driver''s status and text: ' how]);
    if ~isempty(files)
      check_eq(lines{end}, files, ['the files are left as they were: ' how]);
    end
  end
  done_checks();
end
