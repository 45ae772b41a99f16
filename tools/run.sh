#!/bin/bash
# `make run`: Quorbel.exe under Wine receiving frames from vorlsim.
#   run.sh NATIVE_DIR WIN_DIR RUN_DIR
# The working folder RUN_DIR gets a "Quorbel.ini" for Ethernet TCP to
# 127.0.0.1 on a free port, unless it has one already (then vorlsim serves
# the port that file names).  Without a usable display the program runs on
# Xvfb and a screenshot of its window is saved after a few frames.
# Ctrl-C, or closing the window, stops everything this script started.
set -u
native=$(realpath "$1") win=$(realpath "$2") run=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$run" && run=$(realpath "$run")
export WINEPREFIX=$win/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

cleanup() {
  trap - EXIT
  [ -n "${quorbel_pid:-}" ] && kill "$quorbel_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  [ -n "${vorlsim_pid:-}" ] && kill "$vorlsim_pid" 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  echo "Stopped. Result files: $run/RESULT/"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

write_ini() {
  printf '%s\r\n' '[Option]' 'HideAtStart=0' 'HideButton=0' 'StoreTxt=1' 'PrintOut=0' \
    'Language=0' '[Store]' 'Directory=RESULT\' 'FileExtCode=0' 'OutputSeparator=1' \
    '[Input]' 'InputSeparator=1' 'UsbRs232=1' '[Ehernet]' "ServerPort=$1" 'IP=127.0.0.1' \
    > "$run/Quorbel.ini"
}

if [ -f "$run/Quorbel.ini" ]; then
  port=$(sed -n 's/^ServerPort=\([0-9]*\).*/\1/p' "$run/Quorbel.ini" | head -1)
  echo "Using the existing $run/Quorbel.ini"
fi
if [ ! -f "$run/Quorbel.ini" ]; then
  port=$(free_port)
  write_ini "$port"
fi
if [ -n "${port:-}" ]; then
  "$native/tools/vorlsim/vorlsim" tcp --port "$port" --count 0 --rate 1 \
    --separator semicolon >/dev/null 2>"$run/vorlsim.log" &
  vorlsim_pid=$!
  echo "vorlsim sends a frame every second on 127.0.0.1:$port"
fi

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  . "$here/xvfb.sh"
  start_xvfb
fi

"$here/wine-prefix.sh" || exit 1
(cd "$run" && exec wine "$win/bin/Quorbel.exe") &
quorbel_pid=$!
echo "Quorbel.exe runs in $run (display $DISPLAY); result files go to $run/RESULT/"
if [ -n "${xvfb_pid:-}" ]; then
  sleep 8
  import -window root "$run/screenshot.png" 2>/dev/null \
    && echo "Screenshot of the main window: $run/screenshot.png"
fi
echo "Close the window or press Ctrl-C to stop."
wait "$quorbel_pid"
