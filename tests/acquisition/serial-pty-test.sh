#!/bin/bash
# The Win32 serial link over a real pseudo-terminal pair:
#   serial-pty-test.sh PROBE_EXE WINEPREFIX
# socat makes the pair; one end becomes a COM port of the prefix, the probe
# program (under Wine) reads it, this script writes the instrument's bytes
# into the other end, unplugs it and plugs it back.  Every helper process
# is started and ended here, and every wait is bounded.
set -u
probe=$1 prefix=$2
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all

fail() { echo "serial-pty-test: $*" >&2; exit 1; }

work=$(mktemp -d "$(dirname "$prefix")/serial-pty.XXXXXX") || fail "no scratch directory"
# The probe opens COM10, which opens only under its "\\.\COM10" name.
link="$prefix/dosdevices/com10" socat_pid="" probe_pid=""
cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  [ -n "$socat_pid" ] && kill "$socat_pid" 2>/dev/null
  wait 2>/dev/null
  rm -f "$link"
  rm -rf "$work"
}
trap cleanup EXIT

source "$tools/pty-pair.sh"
start_pty_pair 110

await() {
  for _ in $(seq 400); do
    [ -e "$work/$1.probe" ] && return 0
    kill -0 "$probe_pid" 2>/dev/null || fail "the probe ended before '$1'"
    sleep 0.05
  done
  fail "the probe never reached '$1'"
}
done_step() { : >"$work/$1.script"; }
send() { printf "$1" >"$work/ttyB"; }

rm -f "$link"
(cd "$work" && exec timeout 100 "$tools/wine-run.sh" --prefix "$prefix" "$probe" >"$work/probe.log" 2>&1) &
probe_pid=$!
await failed
ln -s "$work/ttyA" "$link"
done_step mapped
await opened
settings=$(stty -F "$work/ttyA" -a) || fail "stty failed"
# A pseudo-terminal always keeps 8 bits without parity: only the rate and
# the stop bits show.
grep -q "speed 9600 baud" <<<"$settings" || fail "the port is not at 9600 baud: $settings"
grep -qw -- "-cstopb" <<<"$settings" || fail "the port has not 1 stop bit: $settings"
send 'ABC\r\n'
done_step sent
await read
kill "$socat_pid"; wait "$socat_pid" 2>/dev/null; socat_pid=""
done_step unplugged
await closed
start_pty_pair 60
done_step replugged
await reopened
send 'back\r\n'
done_step resent

wait "$probe_pid"
status=$?
probe_pid=""
cat "$work/probe.log"
[ $status -eq 0 ] || fail "the probe failed (exit $status)"
grep -q '^\[  PASSED  \] 1 test\.' "$work/probe.log" || fail "the probe ran no test"
