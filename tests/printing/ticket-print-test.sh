#!/bin/bash
# Prints real jobs through Wine on a private CUPS server whose default queue
# turns every job into a PDF, and checks those PDFs:
#   ticket-print-test.sh DRIVER_EXE WINE_PREFIX
# The server listens only on a socket in its own folder, so a system cupsd
# is never touched; programs reach it through CUPS_SERVER.  The filters run
# as user lp, who may not be able to enter the build tree: the server's
# files live in a fresh folder under /tmp, removed at the end.  Every wait is bounded so that a broken
# set-up fails instead of hanging.
set -u
driver=$1
prefix=$2
wine_run="$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-run.sh"
state=$(mktemp -d /tmp/quorbel-cups.XXXXXX) || exit 1
pdfs="$state/pdf"
# The cups-pdf backend only reads its settings from /etc/cups, one file per
# device name; a name of our own keeps other users' settings untouched.
name="quorbel-$$-$RANDOM"
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

stop_cups() {
  [ -n "${cupsd:-}" ] && kill "$cupsd" 2>/dev/null && wait "$cupsd"
  rm -rf -- "$state" "/etc/cups/cups-pdf-$name.conf"
}
trap stop_cups EXIT

# Runs the driver's cases that match $1, then waits until no job is left
# (the backend writes the PDF last).  A job that CUPS stops ends the whole
# test at once, with CUPS's own account of it: every later job would stop
# alike.
run_cases() {
  if ! timeout 120 "$wine_run" --prefix "$prefix" "$driver" --gtest_filter="$1" >"$state/case.log" 2>&1 ||
    ! grep -q '\[  PASSED  \] [1-9]' "$state/case.log"; then
    cat "$state/case.log" >&2
    fail "$1: the driver failed"
    return 1
  fi
  for _ in $(seq 300); do
    if grep -q '^E .*\[Job [0-9]*\]' "$state/log/error_log" 2>/dev/null; then
      echo "FAIL: $1: CUPS stopped a job:" >&2
      grep '\[Job [0-9]*\]' "$state/log/error_log" >&2
      exit 1
    fi
    [ -z "$(lpstat -o 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  lpstat -l -o >&2
  fail "$1: jobs still queued"
}

# The text of a PDF, one printed line per line, blanks at both ends and
# empty lines dropped.  The font names its hyphen glyph so that the text
# comes back as a soft hyphen (U+00AD): read it as '-'.
pdf_lines() {
  pdftotext -layout "$1" - | sed -e 's/\xc2\xad/-/g' -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' | grep -v '^$'
}
# xMin and yMin (points from the top left) of the first word, and the line
# pitch (from the first to the second line).
first_word_and_pitch() {
  pdftotext -bbox -f 1 -l 1 "$1" - |
    sed -n 's/.*<word xMin="\([0-9.]*\)" yMin="\([0-9.]*\)".*/\1 \2/p' |
    awk 'NR == 1 {x = $1; y = $2} $2 != y && p == "" {p = $2 - y} END {print x, y, p}'
}

# What was printed ($2) against what should have been ($3).
expect_lines() { diff -u <(echo "$3") <(echo "$2") >&2 || fail "$1: the printed lines differ"; }

# Wine reads the printer list only while no other program of the prefix
# has it: one left running from before (without this server) would leave
# the driver without a printer.  The test runs alone, so ending the
# prefix's programs ends only leftovers.
WINEPREFIX=$prefix wineserver -k 2>/dev/null
WINEPREFIX=$prefix timeout 30 wineserver -w

# A private CUPS server whose default queue writes each job as a PDF.
mkdir -p "$state"/{etc/ppd,spool,cache,run,tmp,log,pdf}
chmod 755 "$state" "$state"/etc "$state"/etc/ppd "$state"/pdf
chmod 1777 "$state"/tmp
printf 'Out %s\nAnonDirName %s\nLabel 0\nTitlePref 1\nGrp root\n' "$pdfs" "$pdfs" \
  >"/etc/cups/cups-pdf-$name.conf"
cat >"$state/etc/cupsd.conf" <<CONF
Listen $state/cups.sock
Browsing Off
LogLevel warn
DefaultAuthType None
WebInterface No
CONF
cat >"$state/etc/cups-files.conf" <<CONF
ServerRoot $state/etc
RequestRoot $state/spool
CacheDir $state/cache
StateDir $state/run
TempDir $state/tmp
ErrorLog $state/log/error_log
AccessLog $state/log/access_log
PageLog $state/log/page_log
Printcap $state/printcap
SystemGroup root
CONF
/usr/sbin/cupsd -f -c "$state/etc/cupsd.conf" -s "$state/etc/cups-files.conf" \
  </dev/null >"$state/log/cupsd.out" 2>&1 &
cupsd=$!
export CUPS_SERVER="$state/cups.sock"
timeout 10 bash -c 'until lpstat -r 2>/dev/null | grep -q "is running"; do sleep 0.1; done'
lpadmin -p QuorbelPDF -E -v "cups-pdf:/$name" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
  -o PageSize=A4 -o printer-error-policy=abort-job && lpadmin -d QuorbelPDF &&
  cupsenable QuorbelPDF && cupsaccept QuorbelPDF || {
  echo "FAIL: cupsd did not start:" >&2
  cat "$state/log/cupsd.out" "$state/log/error_log" >&2 2>/dev/null
  exit 1
}

# One PDF per job, in the order the cases print them.
if run_cases 'TicketPrint.*'; then
  mapfile -t pdf < <(ls "$pdfs"/*.pdf 2>/dev/null | sort -V)
  if [ "${#pdf[@]}" = 5 ]; then
    # Label jobs reach the printer as their command text.
    expect_lines "EPL2 label" "$(pdf_lines "${pdf[0]}")" 'N
A100,160,0,1,1,1,N,"05/12/2026 18:02:36"
A100,200,0,1,1,1,N,"OK 12.3"
P1'
    # A ticket holds its lines in job order; the margins move it right by
    # five characters of 10-point Courier New (or Liberation Mono, its
    # metric twin: 6 points each) and down by three lines.
    ticket='SN-0042
Ann Operator
05/12/2026 18:02:36
Batch 7 "night"
OK 12.3'
    expect_lines "ticket" "$(pdf_lines "${pdf[1]}")" "$ticket"
    expect_lines "ticket with margins" "$(pdf_lines "${pdf[2]}")" "$ticket"
    read -r x0 y0 pitch < <(first_word_and_pitch "${pdf[1]}")
    read -r x y _ < <(first_word_and_pitch "${pdf[2]}")
    awk -v x0="$x0" -v y0="$y0" -v p="$pitch" -v x="$x" -v y="$y" \
      'BEGIN {exit !((x - x0 - 30) ^ 2 <= 0.25 && (y - y0 - 3 * p) ^ 2 <= 1)}' ||
      fail "margins 5 and 3: the first word moved from $x0,$y0 to $x,$y, line pitch $pitch"
    # Escape stops the running job after its current line (what was drawn
    # is still printed); a job built meanwhile is printed whole, after it.
    expect_lines "cancelled job" "$(pdf_lines "${pdf[3]}")" 'first job line 01'
    expect_lines "job built meanwhile" "$(pdf_lines "${pdf[4]}")" 'second job line 01
second job line 02'
  else
    fail "expected five PDFs, found ${#pdf[@]}"
  fi
fi

# Without any printer nothing is attempted and the user is told once (the
# driver checks).
CUPS_SERVER="$state/no-server.sock" run_cases 'NoPrinter.*'

[ "$failures" = 0 ] && echo "all printed jobs checked"
exit $((failures > 0))
