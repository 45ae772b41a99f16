#!/bin/bash
# vorlsim against a plain nc client: the 1000 frames nc receives are
# exactly the 1000 lines vorlsim echoes.
#   vorlsim-nc-test.sh VORLSIM
set -u
vorlsim=$1
work=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null; rm -rf "$work"' EXIT
timeout 60 "$vorlsim" tcp --port 0 --clients 1 --count 1000 --rate 0 --echo \
  --ready-file "$work/ready" >"$work/echo" &
sim=$!
for _ in $(seq 500); do [ -s "$work/ready" ] && break; sleep 0.02; done
[ -s "$work/ready" ] || { echo "vorlsim did not start listening"; exit 1; }
timeout 30 nc 127.0.0.1 "$(cat "$work/ready")" </dev/null >"$work/received" || { echo "nc failed"; exit 1; }
wait "$sim" || { echo "vorlsim failed"; exit 1; }
lines=$(wc -l <"$work/echo")
[ "$lines" -eq 1000 ] || { echo "vorlsim echoed $lines lines"; exit 1; }
tr -d '\r' <"$work/received" | cmp - "$work/echo" || { echo "nc received other bytes than echoed"; exit 1; }
echo "1000 frames, nc and echo agree"
