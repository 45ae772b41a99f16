#!/bin/bash
# Installs Quorbel silently into a fresh Wine prefix, starts it from its
# Start-menu shortcut with a "Quorbel.ini" for TCP to the installed
# vorlsim, waits for a result line in the data folder, installs again over
# it, uninstalls silently and checks what is left.
#   installer-test.sh SETUP_EXE WORK_DIR
set -u
setup=$1 work=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$work" && mkdir -p "$work/home"
# HOME too: Wine links the prefix's Desktop and Documents to the home's.
# The virtual desktop's shell reads new files on the desktop, so vorlsim's
# ready file must not be written there.
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=;winedbg.exe=d"
log=$work/wine.log
fail() { echo "FAIL: $*"; tail -20 "$log"; wineserver -k 2>/dev/null; exit 1; }
wine_() { wine "$@" </dev/null >>"$log" 2>&1; }
# Without the persistent server `wineserver -w` returns once the prefix is idle.
"$here/../../tools/wine-prefix.sh" || fail "no Wine prefix"
wineserver -k; wineserver -w

wine_ "$setup" /S || fail "setup.exe /S"
c=$WINEPREFIX/drive_c
program=$c/"Program Files"/Quorbel
menu=$(echo "$c"/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/Quorbel)
data=$(echo "$c"/users/*/AppData/Local/Quorbel)
desktop_link=$(echo "$c"/users/*/Desktop/Quorbel.lnk)
for f in "$program"/{Quorbel.exe,QuorbelFr.dll,QuorbelIT.dll,vorlsim.exe,uninstall.exe} \
         "$menu/Quorbel.lnk" "$desktop_link" "$data"; do
  [ -e "$f" ] || fail "not installed: $f"
done

(cd "$work" && wine "$program/vorlsim.exe" tcp --port 0 --count 0 --rate 20 --separator semicolon \
   --ready-file port </dev/null >>"$log" 2>&1 &)
for _ in $(seq 300); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || fail "vorlsim did not listen"
printf '%s\r\n' '[Option]' 'HideAtStart=0' 'StoreTxt=1' 'PrintOut=0' 'Language=0' '[Store]' \
  'Directory=RESULT\' 'FileExtCode=0' 'OutputSeparator=1' '[Input]' 'InputSeparator=1' \
  'UsbRs232=1' '[Ehernet]' "ServerPort=$(cat "$work/port")" 'IP=127.0.0.1' >"$data/Quorbel.ini"
wine_ start /unix "$menu/Quorbel.lnk" || fail "start from the shortcut"
for _ in $(seq 450); do
  [ "$(cat "$data"/RESULT/*.TXT 2>/dev/null | wc -l)" -ge 3 ] && break; sleep 0.1
done
wineserver -k; wineserver -w
[ "$(cat "$data"/RESULT/*.TXT 2>/dev/null | wc -l)" -ge 3 ] || fail "no result lines in $data/RESULT"
grep -q 'Uninstall\\\\Quorbel\]' "$WINEPREFIX/system.reg" || fail "no uninstall entry"

wine_ "$setup" /S || fail "setup.exe /S over the installation"
grep -q "ServerPort=$(cat "$work/port")" "$data/Quorbel.ini" || fail "installing again lost Quorbel.ini"

wine_ "$program/uninstall.exe" /S; wineserver -w
for f in "$program" "$menu" "$desktop_link"; do
  [ -e "$f" ] && fail "left after uninstall: $f"
done
grep -q 'Uninstall\\\\Quorbel\]' "$WINEPREFIX/system.reg" && fail "uninstall entry left"
[ -f "$data/Quorbel.ini" ] && ls "$data"/RESULT/*.TXT >/dev/null || fail "uninstall removed the data folder"
echo "installed, ran from the shortcut into $data, installed again, uninstalled"
