#!/bin/bash
# Throughput of the TCP link beside plain socket readers of the same
# stream: vorlsim sends FRAMES frames as fast as the reader takes them to
#   - the link with a counting OnFrame (tcp_link_bench), per chunking,
#   - nc and socat writing to /dev/null.
#   tcp-link-bench.sh [BUILD_DIR (default build/bench)] [FRAMES (default 200000)]
# BUILD_DIR is a native build, best without sanitizers:
#   cmake -S . -B build/bench -DQUORBEL_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release
#   cmake --build build/bench --target tcp_link_bench
set -u
build=$(cd "${1:-build/bench}" && pwd) || exit 2
frames=${2:-200000}
bench="$build/tools/bench/tcp_link_bench"
vorlsim="$build/tools/vorlsim/vorlsim"
[ -x "$bench" ] && [ -x "$vorlsim" ] || { echo "build tcp_link_bench in $build first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2

# frame: one write per frame; random: writes of 1 to 4096 bytes across
# frames; 65536: large writes, where the reader rather than vorlsim limits.
chunks="frame random 65536"
for chunk in $chunks; do
  timeout 300 "$bench" "$frames" "$chunk" || echo "link chunk=$chunk: FAILED"
done

# One reader command against a fresh vorlsim; prints frames per second.
run_reader() {
  local name=$1 chunk=$2; shift 2
  rm -f ready
  timeout 300 "$vorlsim" tcp --port 0 --clients 1 --count "$frames" --rate 0 --chunk "$chunk" \
    --ready-file ready &
  local sim=$!
  for _ in $(seq 500); do [ -s ready ] && break; sleep 0.01; done
  local port; port=$(cat ready)
  local start end
  start=$(date +%s.%N)
  timeout 300 "$@" "$port" >/dev/null </dev/null
  end=$(date +%s.%N)
  wait "$sim"
  awk -v n="$frames" -v s="$start" -v e="$end" -v who="$name" \
    -v chunk="$chunk" \
    'BEGIN { printf "%s chunk=%s: %d frames in %.3f s = %.0f frames/s\n", who, chunk, n, e - s, n / (e - s) }'
}

for chunk in $chunks; do
  run_reader nc "$chunk" nc 127.0.0.1
  run_reader socat "$chunk" bash -c 'exec socat -u TCP:127.0.0.1:$0 -'
done
