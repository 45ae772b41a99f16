#!/bin/bash
# Photographs the four dialogs in the build's Wine prefix (its virtual
# desktop looks like Windows) and stores them in docs/:
#   take-screenshots.sh WIN_BUILD_DIR
# Starts its own X server on a free display and stops it afterwards.
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
docs=$(cd "$here/../../docs" && pwd)
exe=$build/tools/showcase/dialog_showcase.exe
export WINEPREFIX=$build/wineprefix

for n in $(seq 150 180); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1; kill $xvfb 2>/dev/null' EXIT
export DISPLAY=":$n"
sleep 1

work=$(mktemp -d)
cd "$work"
cp "$build"/bin/Quorbel*.dll .
for shot in setup fieldname serial print setup:QuorbelFr setup:QuorbelIT; do
  dialog=${shot%%:*}
  library=${shot#"$dialog"}
  library=${library#:}
  "$here/../wine-run.sh" --prefix "$WINEPREFIX" "$exe" $dialog rect.txt \
    ${library:+$library.dll} >/dev/null 2>&1 &
  runner=$!
  for _ in $(seq 100); do [ -s rect.txt ] && break; sleep 0.1; done
  sleep 1.5
  read -r x y w h < rect.txt
  import -window root full.png
  convert full.png -crop "${w}x${h}+${x}+${y}" +repage "$docs/dialog-$dialog${library:+-$library}.png"
  wait $runner || true
  rm -f rect.txt
done
rm -rf "$work"
