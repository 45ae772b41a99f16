# Sourced: start_xvfb starts an X server of this script's own on the first
# free display from :91 on, exports DISPLAY and sets xvfb_pid, which the
# caller kills when done.  A DISPLAY inherited from elsewhere may be gone
# or belong to someone's desktop.
start_xvfb() {
  local n
  for n in $(seq 91 120); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
}
