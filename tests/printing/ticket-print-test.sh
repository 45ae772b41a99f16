#!/bin/bash
# Prints real jobs through Wine on the private CUPS queue of cups-start.sh
# and checks the PDFs that come out:
#   ticket-print-test.sh DRIVER_EXE CUPS_STATE_DIR WINE_PREFIX
set -u
driver=$1
state=$(realpath -m "$2")
prefix=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The two tickets are kept beside the link, in the build tree: the server's
# folder goes when it stops.
keep=$(cd "$(dirname "$2")" && pwd)
wine_run="$here/../../tools/wine-run.sh"
pdfs="$state/pdf"
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Waits until no job is left (the backend writes the PDF last).  A job that
# CUPS stops ends the whole test at once, with CUPS's own account of it:
# every later job would stop alike.
wait_for_queue() {
  local name=$1
  for _ in $(seq 300); do
    if grep -q '^E .*\[Job [0-9]*\]' "$state/log/error_log" 2>/dev/null; then
      echo "FAIL: $name: CUPS stopped a job:" >&2
      grep '\[Job [0-9]*\]' "$state/log/error_log" >&2
      exit 1
    fi
    [ -z "$(lpstat -o 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  lpstat -l -o >&2
  fail "$name: jobs still queued"
  return 1
}

# Runs one driver case on an empty queue; the PDFs of its jobs are then in
# $pdfs, oldest first.
run_case() {
  local name=$1
  rm -f "$pdfs"/*.pdf
  cancel -a -x 2>/dev/null
  : >"$state/log/error_log"
  if ! timeout 90 "$wine_run" --prefix "$prefix" "$driver" --gtest_filter="$name" >"$state/case.log" 2>&1; then
    cat "$state/case.log" >&2
    fail "$name: the driver failed"
    return 1
  fi
  grep -q '\[  PASSED  \] 1 test' "$state/case.log" || { cat "$state/case.log" >&2; fail "$name: no test ran"; return 1; }
  wait_for_queue "$name"
}

pdf_list() { ls "$pdfs"/*.pdf 2>/dev/null | sort -V; }
pdf_count() { pdf_list | wc -l; }
# The text of a PDF, one printed line per line, blanks at both ends and
# empty lines dropped.  The font names its hyphen glyph so that the text
# comes back as a soft hyphen (U+00AD): read it as '-'.
pdf_lines() {
  pdftotext -layout "$1" - | sed -e 's/\xc2\xad/-/g' -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' | grep -v '^$'
}
# xMin and yMin (points from the top left) of the first word.
first_word_position() {
  pdftotext -bbox -f 1 -l 1 "$1" - |
    sed -n 's/.*<word xMin="\([0-9.]*\)" yMin="\([0-9.]*\)".*/\1 \2/p' | head -1
}
# yMin of the first word of the second line.
second_line_y() {
  pdftotext -bbox -f 1 -l 1 "$1" - |
    sed -n 's/.*<word xMin="[0-9.]*" yMin="\([0-9.]*\)".*/\1/p' | sort -n -u | sed -n 2p
}
# True when |a - b| <= tolerance.
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN {d = a - b; if (d < 0) d = -d; exit !(d <= t)}'; }

expect_lines() {
  local what=$1 actual=$2 expected=$3
  [ "$actual" = "$expected" ] || fail "$what: printed
$actual
expected
$expected"
}

export CUPS_SERVER="$state/cups.sock"
# Wine reads the printer list only while no other program of the prefix
# has it: one left running from before (without this server) would leave
# the driver without a printer.  The test runs alone, so ending the
# prefix's programs ends only leftovers.
WINEPREFIX=$prefix wineserver -k 2>/dev/null
WINEPREFIX=$prefix timeout 30 wineserver -w
lpstat -r 2>/dev/null | grep -q "is running" || { echo "FAIL: the CUPS server of the fixture is not running" >&2; exit 1; }

# 10-point Courier New (and Liberation Mono, its metric twin) advances
# 0.6 em, 6 points, per character.
advance=6

ticket='SN-0042
Ann Operator
05/12/2026 18:02:36
Batch 7 "night"
OK 12.3'

# Runs a case that must print one PDF, named then in $file.
one_pdf() {
  run_case "$1" || return 1
  file=$(pdf_list | head -1)
  [ "$(pdf_count)" = 1 ] || { fail "$1: expected one PDF, found $(pdf_count)"; return 1; }
}

# A ticket holds its lines in job order; the margins move it right and down.
if run_case TicketPrint.TicketsWithoutAndWithMargins && [ "$(pdf_count)" = 2 ]; then
  plain=$(pdf_list | head -1) margins=$(pdf_list | tail -1)
  cp "$plain" "$keep/ticket-plain.pdf"
  cp "$margins" "$keep/ticket-margins.pdf"
  expect_lines "ticket" "$(pdf_lines "$plain")" "$ticket"
  expect_lines "ticket with margins" "$(pdf_lines "$margins")" "$ticket"
  read -r plain_x plain_y < <(first_word_position "$plain")
  pitch=$(awk -v a="$(second_line_y "$plain")" -v b="$plain_y" 'BEGIN {print a - b}')
  read -r x y < <(first_word_position "$margins")
  near "$(awk -v a="$x" -v b="$plain_x" 'BEGIN {print a - b}')" "$((5 * advance))" 0.5 ||
    fail "left margin 5: x moved from $plain_x to $x"
  near "$(awk -v a="$y" -v b="$plain_y" 'BEGIN {print a - b}')" "$(awk -v p="$pitch" 'BEGIN {print 3 * p}')" 1 ||
    fail "top margin 3: y moved from $plain_y to $y, line pitch $pitch"
else
  fail "tickets: expected two PDFs, found $(pdf_count)"
fi

# Label jobs reach the printer as their command text.
one_pdf TicketPrint.Epl2Label && expect_lines "EPL2 label" "$(pdf_lines "$file")" 'N
A100,160,0,1,1,1,N,"05/12/2026 18:02:36"
A100,200,0,1,1,1,N,"OK 12.3"
P1'

# A job built while another prints is printed whole, after it.
if run_case TicketPrint.JobBuiltWhilePrintingFollowsTheRunningOne && [ "$(pdf_count)" = 2 ]; then
  expect_lines "running job" "$(pdf_lines "$(pdf_list | head -1)")" 'first job line 01
first job line 02
first job line 03'
  expect_lines "job built meanwhile" "$(pdf_lines "$(pdf_list | tail -1)")" 'second job only line'
else
  fail "job built while printing: expected two PDFs, found $(pdf_count)"
fi

# Escape stops after the current line; what was drawn is still printed.
one_pdf TicketPrint.EscapeStopsAfterTheCurrentLine && expect_lines "cancelled job" "$(pdf_lines "$file")" 'line 01'

# Without any printer nothing is attempted and the user is told once.
CUPS_SERVER="$state/no-server.sock" run_case NoPrinter.JobIsNotAttemptedAndTheUserIsToldOnce
[ "$(pdf_count)" = 0 ] || fail "no printer: $(pdf_count) PDFs appeared"

[ "$failures" = 0 ] && echo "all printed jobs checked"
exit $((failures > 0))
