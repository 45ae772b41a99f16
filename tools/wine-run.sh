#!/bin/bash
# Runs a Windows program under the build's own Wine prefix:
#   wine-run.sh --prefix DIR program.exe [args...]
# The prefix is created on first use; a persistent wineserver keeps later
# starts fast and keeps Wine's helper processes off the caller's pipes.
set -u
if [ "${1:-}" != "--prefix" ] || [ $# -lt 3 ]; then
  echo "usage: wine-run.sh --prefix DIR program [args...]" >&2
  exit 2
fi
export WINEPREFIX=$2
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$here/wine-prefix.sh" || exit 2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
exec wine "$@"
