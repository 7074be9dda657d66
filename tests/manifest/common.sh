# common.sh - what the checks of the lists and builds share: the tally of
# their checks, and the rows of the list of gateways from its one reader.
# Sourced; sets top to the tree's top.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FAILED: $*"; }
# name|family|section|summary|operations, one row a line ('-' for no operation).
gateway_rows() { cmake -P "$top/cmake/manifest.cmake"; }
# The closing line, and the status: 0 when nothing failed.
tally() {
  echo "${1:+$1: }$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
