#!/bin/bash
# One test of the Win32 serial link over a real pseudo-terminal pair:
#   serial-pty-test.sh SCENARIO PROBE_EXE WINEPREFIX VORLSIM
# socat makes the pair; one end becomes a COM port of the prefix, the probe
# program (under Wine) reads it, this script writes the instrument's bytes
# into the other end.  Every helper process is started and ended here, and
# every wait is bounded.
set -u
scenario=$1 probe=$2 prefix=$3 vorlsim=$4
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all

fail() { echo "serial-pty-test ($scenario): $*" >&2; exit 1; }

work=$(mktemp -d "$(dirname "$prefix")/serial-pty.XXXXXX") || fail "no scratch directory"
links=() socat_pid="" probe_pid=""
cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  [ -n "$socat_pid" ] && kill "$socat_pid" 2>/dev/null
  wait 2>/dev/null
  for link in "${links[@]}"; do rm -f "$link"; done
  rm -rf "$work"
}
trap cleanup EXIT

source "$tools/pty-pair.sh"
start_pty_pair 110

# map_port N: COMN of the prefix becomes the terminal.
map_port() {
  local link="$prefix/dosdevices/com$1"
  rm -f "$link"
  links+=("$link")
  ln -s "$work/ttyA" "$link"
}

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

start_probe() {
  (cd "$work" && exec timeout 100 \
     "$tools/wine-run.sh" --prefix "$prefix" "$probe" --gtest_filter="SerialPtyProbe.$1" \
     >"$work/probe.log" 2>&1) &
  probe_pid=$!
}

case "$scenario" in
  edge-cases)
    rm -f "$prefix/dosdevices/com10"
    start_probe PortRules
    await failed
    map_port 10
    done_step mapped
    await opened
    settings=$(stty -F "$work/ttyA" -a) || fail "stty failed"
    grep -q "speed 9600 baud" <<<"$settings" || fail "the port is not at 9600 baud: $settings"
    grep -qw "cs8" <<<"$settings" || fail "the port has not 8 data bits: $settings"
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
    ;;
  simulator)
    [ -x "$vorlsim" ] || fail "no native vorlsim at $vorlsim (build the native tree first)"
    map_port 10
    # 10,000 frames of the instrument's kind, the same every run.
    awk 'BEGIN { srand(4); for (i = 1; i <= 10000; i++)
           printf "%05d;VORL-%d;%.3f;%s\n", i, int(rand() * 1000), rand() * 100, (rand() < 0.9 ? "PASS" : "FAIL") }' \
      >"$work/frames.txt"
    head -n 300 "$work/frames.txt" >"$work/short.txt"
    cat "$work/frames.txt" "$work/short.txt" "$work/short.txt" >"$work/expected.txt"
    start_probe SimulatorFramesArriveCompleteAndInOrder
    await opened
    play() {
      timeout 60 "$vorlsim" serial --device "$work/ttyB" --baud 115200 --parity E "$@" \
        || fail "vorlsim $* failed"
    }
    play --file "$work/frames.txt" --count 10000 --terminator crlf --chunk random --seed 11
    play --file "$work/short.txt" --count 300 --stx --terminator etx --chunk byte
    play --file "$work/short.txt" --count 300 --terminator lf --chunk 7
    ;;
  *) fail "unknown scenario" ;;
esac

wait "$probe_pid"
status=$?
probe_pid=""
cat "$work/probe.log"
[ $status -eq 0 ] || fail "the probe failed (exit $status)"
grep -q '^\[  PASSED  \] 1 test\.' "$work/probe.log" || fail "the probe ran no test"
