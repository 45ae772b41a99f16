#!/bin/bash
# Runs the frame store benchmarks of a native Release build and of the
# Windows build (under Wine) and records the figures in docs/performance.md,
# in the section "## Frame store and result files" (replaced on every run,
# the rest of the file is kept); then measures the program itself under
# Wine against the same bare loops (tools/program-bench.py), and the central
# database with many stations (tools/database-bench.py).
#   run-benchmarks.sh NATIVE_BENCH_DIR WIN_DIR
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: run-benchmarks.sh NATIVE_BENCH_DIR WIN_DIR" >&2
  exit 2
fi
native=$(cd "$1" && pwd)
win=$(cd "$2" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
doc=$root/docs/performance.md
heading="## Frame store and result files"

echo "native: frame_store_bench" >&2
bench=$("$native/tools/bench/frame_store_bench" --benchmark_repetitions=3 \
          --benchmark_report_aggregates_only=true 2>/dev/null)
echo "native: result_write_harness" >&2
native_harness=$("$native/tools/bench/result_write_harness")
echo "Wine: result_write_harness.exe (a few minutes)" >&2
wine_harness=$(timeout 900 "$root/tools/wine-run.sh" --prefix "$win/wineprefix" \
                 "$win/tools/bench/result_write_harness.exe" </dev/null | tr -d '\r')

section=$(cat <<SECTION
$heading

What it measures: \`SelectFields\` on a frame of 20 fields (10 selected,
separator ";") and, with it, the stamped line of store type 3, in Google
Benchmark; and \`WriteResult\` appending 20,000 such lines to the day's
result file, each line flushed to the disk before it counts as written,
against two bare loops that open the file (C \`fopen\` "ab"), append the
same line with CR LF and close it, for each of the same lines: one leaves
the line in the system's cache, the other flushes it to the disk first
(\`fflush\` and \`fsync\`, \`_commit\` on Windows), as \`WriteResult\` does.  The
three loops run in alternating blocks of 2,000 of 20,000 lines.  Goal:
\`WriteResult\` at no less than 80 % of the flushed bare loop; the loop
without the flush shows what the flush costs.

How to run it: \`make bench\` builds build/bench (native, Release, no
sanitizers) and build/win, then runs tools/run-benchmarks.sh on them.  The
figures below came from

    tools/run-benchmarks.sh $1 $2

Run of $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)
(the build machine is shared, so absolute figures scatter between runs).

Native, Google Benchmark (mean, median and spread of 3 repetitions):

\`\`\`
$(echo "$bench" | grep -E '^(Benchmark|-|Select)')
\`\`\`

Native, result_write_harness:

\`\`\`
$native_harness
\`\`\`

Windows build under Wine, result_write_harness.exe:

\`\`\`
$wine_harness
\`\`\`

Every line costs one open, one append and one close in every loop, and
a flush in two of them; the work of \`WriteResult\` around them (stamp,
day path, waiting-line check) is a few microseconds, small beside the
file calls, which under Wine pass through the Wine server.  A line in the
cache is lost to a power cut; the flush is what a result costs to be safe.
SECTION
)

echo "$section" | "$root/tools/doc-section.sh" "$doc" "$heading"

bare=$(echo "$wine_harness" | sed -n 's/^bare open-append-close: \([0-9]*\) .*/\1/p')
flushed=$(echo "$wine_harness" | sed -n 's/^bare open-append-flush-close: \([0-9]*\) .*/\1/p')
python3 "$root/tools/program-bench.py" --native "$1" --win "$2" --bare "$bare" --bare-flushed "$flushed"
python3 "$root/tools/database-bench.py" --native "$1" --win "$2"
