# Sourced: start_private_xvfb starts an Xvfb on the first free display
# from :91 up, sets xvfb_pid and exports DISPLAY.  A DISPLAY inherited from
# elsewhere may be gone or belong to someone's desktop, so tests always
# use one of their own.
start_private_xvfb() {
  local n
  for n in $(seq 91 120); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
}
