#!/bin/bash
# The serial scenario of quorbel_scenarios over a real pseudo-terminal:
#   scenario-serial.sh DRIVER_EXE WINEPREFIX VORLSIM
# socat makes the pair, one end becomes COM5 of the prefix (Quorbel.exe
# reads it), and once the driver says the port is open the native vorlsim
# writes frames into the other end.  Every wait is bounded.
set -u
driver=$1 prefix=$2 vorlsim=$3
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all

fail() { echo "scenario-serial: $*" >&2; exit 1; }
[ -x "$vorlsim" ] || fail "no native vorlsim at $vorlsim (build the native tree first)"

work=$(mktemp -d "$(dirname "$prefix")/scenario-serial.XXXXXX") || fail "no scratch directory"
link="$prefix/dosdevices/com5" socat_pid="" driver_pid=""
cleanup() {
  [ -n "$driver_pid" ] && kill "$driver_pid" 2>/dev/null
  [ -n "$socat_pid" ] && kill "$socat_pid" 2>/dev/null
  wait 2>/dev/null
  rm -f "$link"
  rm -rf "$work"
}
trap cleanup EXIT

source "$tools/pty-pair.sh"
start_pty_pair 170
rm -f "$link" && ln -s "$work/ttyA" "$link"

QUORBEL_PTY_DIR=$work timeout 170 "$tools/wine-run.sh" --prefix "$prefix" "$driver" \
  --gtest_filter=Scenario.SerialFramesThenSetupSwitchesToTcp &
driver_pid=$!
for _ in $(seq 1200); do
  [ -e "$work/opened" ] && break
  kill -0 "$driver_pid" 2>/dev/null || break
  sleep 0.05
done
if [ -e "$work/opened" ]; then
  timeout 60 "$vorlsim" serial --device "$work/ttyB" --count 5 --rate 10 --separator semicolon \
    --terminator crlf --chunk random --seed 11 --echo >"$work/echo.txt" || fail "vorlsim failed"
  : >"$work/sent"
fi
wait "$driver_pid"
status=$?
driver_pid=""
exit $status
