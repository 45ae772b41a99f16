#!/bin/bash
# Ends the private CUPS server of cups-start.sh and removes its backend
# settings file, its folder under /tmp and the link to it:
#   cups-stop.sh STATE_DIR
set -u
link=$(realpath -m "$(dirname "$1")")/$(basename "$1")
state=$(realpath -m "$link")
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
if [ -L "$link" ]; then
  case $state in /tmp/quorbel-cups.*) rm -rf -- "$state" ;; esac
  rm -f "$link"
fi
exit 0
