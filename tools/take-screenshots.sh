#!/bin/bash
# The screenshots in docs/ of the main window (with frames; English,
# French, Italian), the About box and the tray menu, taken while the
# scenario driver holds the windows open:   take-screenshots.sh WIN_DIR
# The driver asks for each picture with a NAME.want file and goes on when
# NAME.done appears.  Needs an X server in DISPLAY (an Xvfb will do).
set -u
win=$(realpath "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
docs=$(realpath "$here/../docs")
shots=$(mktemp -d) driver_pid=""
cleanup() {
  [ -n "$driver_pid" ] && kill "$driver_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$shots"
}
trap cleanup EXIT

QUORBEL_EXE=$win/bin/Quorbel.exe QUORBEL_SCREENSHOTS=$shots timeout 300 \
  "$here/wine-run.sh" --prefix "$win/wineprefix" "$win/tests/scenarios/quorbel_scenarios.exe" \
  --gtest_filter='Scenario.FirstRunTcpFramesTrayAndExit:Scenario.LanguagesAndMissingLibrary' &
driver_pid=$!
while kill -0 "$driver_pid" 2>/dev/null; do
  for want in "$shots"/*.want; do
    [ -e "$want" ] || continue
    name=$(basename "$want" .want)
    if [ "$name" = tray-menu ]; then
      # The notification area sits at the bottom right of the 1024x768
      # desktop; the pointer then rests on the first item, off the tooltip.
      xdotool mousemove 1013 757 click 3 && sleep 1 && xdotool mousemove 955 713
    fi
    sleep 0.5  # the window paints itself
    import -window root -crop 1024x768+0+0 "$docs/screenshot-$name.png" && echo "docs/screenshot-$name.png"
    rm -f "$want"
    : >"$shots/$name.done"
  done
  sleep 0.1
done
wait "$driver_pid"
