# expect.sh - sourced by the command-line tests: counts of checks passed
# and failed, and the check of one command's exit status and output.
passed=0 failed=0

expect() {  # expect WHAT EXPECTED-STATUS PATTERN -- COMMAND...
  local what=$1 want=$2 pattern=$3
  shift 4
  local out status
  out=$("$@" 2>&1)
  status=$?
  if [ "$status" -eq "$want" ] && grep -q -E -- "$pattern" <<<"$out"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAILED: %s (status %s, wanted %s)\n%s\n' "$what" "$status" "$want" "$out"
  fi
}
