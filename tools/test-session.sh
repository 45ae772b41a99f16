#!/bin/bash
# Runs every test: the native build (sanitizers), the fuzz targets briefly,
# then the Windows build under Wine.  Starts an X server for the windows
# and stops it, and the Wine server, when done.
#   test-session.sh NATIVE_DIR FUZZ_DIR WIN_DIR
set -u
native=$1 fuzz=$2 win=$3
jobs=$(nproc)

cleanup() {
  WINEPREFIX="$win/wineprefix" wineserver -k >/dev/null 2>&1
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

# Always an X server of our own: a DISPLAY inherited from elsewhere may be
# gone or belong to someone's desktop.
for n in $(seq 91 120); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done

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
