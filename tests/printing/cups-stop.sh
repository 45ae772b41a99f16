#!/bin/bash
# Ends the private CUPS server of cups-start.sh and removes its backend
# settings file:  cups-stop.sh STATE_DIR
set -u
state=$(realpath -m "$1")
if [ -f "$state/cupsd.pid" ]; then
  pid=$(cat "$state/cupsd.pid")
  if kill "$pid" 2>/dev/null; then
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  fi
  rm -f "$state/cupsd.pid"
fi
if [ -f "$state/pdf-name" ]; then
  rm -f "/etc/cups/cups-pdf-$(cat "$state/pdf-name").conf"
  rm -f "$state/pdf-name"
fi
exit 0
