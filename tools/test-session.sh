#!/bin/bash
# Runs every test: the native build (sanitizers), the fuzz targets briefly,
# then the Windows build under Wine.  Starts an X server for the windows
# and stops it, and the Wine server, when done.
#   test-session.sh NATIVE_DIR FUZZ_DIR WIN_DIR
set -u
native=$1 fuzz=$2
win=$(realpath "$3")  # Wine takes only an absolute prefix path
jobs=$(nproc)

cleanup() {
  WINEPREFIX="$win/wineprefix" wineserver -k >/dev/null 2>&1
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

. "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb

status=0
echo "=== native tests (AddressSanitizer, UBSan) ==="
(cd "$native" && ctest --output-on-failure -j "$jobs") || status=1
if [ -d "$fuzz" ]; then
  echo "=== fuzz targets (libFuzzer, brief runs) ==="
  (cd "$fuzz" && ctest --output-on-failure -j "$jobs") || status=1
fi
echo "=== Windows tests under Wine ==="
(cd "$win" && ctest --output-on-failure -j "$jobs") || status=1
exit $status
