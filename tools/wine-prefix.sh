#!/bin/bash
# Makes $WINEPREFIX ready for the tests and makes sure its persistent
# server runs.  Safe to call from several processes at once.
set -u
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9

# The lock stays with this script: the persistent server must not inherit it.
quiet() { "$@" </dev/null >/dev/null 2>&1 9>&-; }

if [ ! -f "$WINEPREFIX/.quorbel-ready" ]; then
  rm -rf "$WINEPREFIX"
  quiet wineboot -i
  quiet wineserver -w
  # Debian's Wine does not find its own fonts; printing wants Courier New.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  quiet wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' /f
  # A virtual desktop looks like Windows and avoids the stalls of a bare X server.
  quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
  quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
  quiet wineserver -k
  quiet wineserver -w
  touch "$WINEPREFIX/.quorbel-ready"
fi

# Starting a second persistent server for the same prefix fails harmlessly.
quiet wineserver -p
quiet wine cmd /c exit
exit 0
