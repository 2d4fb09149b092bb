#!/usr/bin/env bash
# Minimising the settings or the help window, by its own button or by the window manager
# (xfwm4, which takes a modal window down alone), takes the whole program down, and bringing
# the main window back, as a taskbar does, brings the window that was on top back active.
#   minimise_test.sh TIDEMARK
set -euo pipefail
command -v xfwm4 >/dev/null || { echo "SKIP: xfwm4 is missing (scripts/setup desktops-quick)"; exit 77; }
. "$(dirname "$0")/window_session.sh" "$1"
# xfconfd, which xfwm4 starts, may still write its settings while it ends with the session.
trap 'for _ in 1 2 3 4 5 6; do rm -rf "$work" 2>/dev/null && break; sleep 0.5; done' EXIT

xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session bash -euo pipefail -c '
  fail() { echo "FAIL: $*"; kill $pid $wm 2>/dev/null; wait; exit 1; }
  xfwm4 --compositor=off >/dev/null 2>&1 & wm=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  "$prog/Tidemark" & pid=$!
  main=$(timeout 15 xdotool search --sync --onlyvisible --name "^DeskleafV4.0$" | head -1) \
    || fail "no main window"
  # state ID: Normal or Iconic, as the window manager keeps it.
  state() { xprop -id "$1" WM_STATE | sed -n "s/.*window state: //p"; }
  settle() { # ID STATE
    for _ in $(seq 50); do [ "$(state "$1")" = "$2" ] && return 0; sleep 0.1; done
    fail "$(xdotool getwindowname "$1") is $(state "$1"), not $2"
  }
  for top in "设置:292:button" "帮 助:372:button" "设置:292:wm" "帮 助:372:wm"; do
    way=${top##*:} top=${top%:*}
    name=${top%:*}
    eval "$(xdotool getwindowgeometry --shell --prefix M "$main")"
    xdotool mousemove $((MX + ${top#*:})) $((MY + 44)); sleep 0.2; xdotool click 1
    id=$(timeout 15 xdotool search --sync --onlyvisible --name "^$name$" | head -1) \
      || fail "no window $name"
    eval "$(xdotool getwindowgeometry --shell --prefix T "$id")"
    # A click on the window under a modal one hands the focus on to the modal one.
    xdotool mousemove $((MX + 8)) $((MY + MHEIGHT - 8)); sleep 0.2; xdotool click 1
    for _ in $(seq 50); do [ "$(xdotool getactivewindow)" = "$id" ] && break; sleep 0.1; done
    [ "$(xdotool getactivewindow)" = "$id" ] || fail "$name did not take the focus back"
    if [ "$way" = button ]; then
      xdotool mousemove $((TX + TWIDTH - 28)) $((TY + 12)); sleep 0.2; xdotool click 1
    else
      xdotool windowminimize "$id" # as the window manager shortcut does
    fi
    settle "$main" Iconic; settle "$id" Iconic
    sleep 1 # nothing comes back by itself
    [ "$(state "$id")$(state "$main")" = IconicIconic ] || fail "$name came back by itself ($way)"
    xdotool windowactivate "$main" # as the taskbar does
    settle "$main" Normal; settle "$id" Normal
    for _ in $(seq 50); do [ "$(xdotool getactivewindow)" = "$id" ] && break; sleep 0.1; done
    [ "$(xdotool getactivewindow)" = "$id" ] || fail "$name is not active after the restore"
    xdotool key Escape
    for _ in $(seq 50); do xdotool search --onlyvisible --name "^$name$" >/dev/null || break; sleep 0.1; done
  done
  kill $pid $wm; wait
'
echo "minimise: 1 passed, 0 failed"
