# Sourced by the serial tests: start_pty_pair SECONDS makes the terminal
# pair $work/ttyA (the COM port's end) and $work/ttyB (the instrument's)
# with socat, for at most SECONDS, and sets socat_pid.  Needs $work,
# $WINEPREFIX and a fail function.
start_pty_pair() {
  # The prefix's persistent server must run before socat opens the
  # terminals, or it takes one of them as its controlling terminal.
  "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh" || fail "the Wine prefix is not usable"
  timeout "$1" socat pty,raw,echo=0,link="$work/ttyA" pty,raw,echo=0,link="$work/ttyB" &
  socat_pid=$!
  for _ in $(seq 100); do [ -e "$work/ttyA" ] && [ -e "$work/ttyB" ] && break; sleep 0.05; done
  [ -e "$work/ttyA" ] && [ -e "$work/ttyB" ] || fail "socat made no terminal pair"
  # Under Wine a repeated even-parity set-up of a terminal fails unless its
  # modem-control flag is cleared first.
  stty -F "$work/ttyA" -clocal || fail "stty failed"
}
