#!/usr/bin/env bash
# The main window end to end: the real Tidemark under Xvfb, driven with xdotool as a user
# would, in a program folder of its own, with the real gsettings (keyfile backend) as the
# desktop.
#   main_window_test.sh TIDEMARK PICTURE [SCREENSHOT_FOLDER]
# With a folder, the main and help windows are saved there as main-window.png and help-window.png.
set -euo pipefail
tidemark=$1
picture=$2
shots=${3:-}
. "$(dirname "$0")/window_session.sh" "$tidemark"
mkdir -p "$work/in"
cp "$picture" "$work/in/photo.jpg" # typed into the file dialog: plain ASCII
export shots

xvfb-run -a -s "-screen 0 1920x1080x24" bash -euo pipefail -c '
  fail() { echo "FAIL: $*"; kill $pid 2>/dev/null; exit 1; }
  "$prog/Tidemark" & pid=$!

  # The window, and a click at x, y inside it.
  win=$(timeout 15 xdotool search --sync --onlyvisible --name "^DeskleafV4.0$" | head -1) \
    || fail "the main window did not appear"
  eval "$(xdotool getwindowgeometry --shell "$win")"
  click() { xdotool mousemove $((X + $1)) $((Y + $2)); sleep 0.2; xdotool click 1; }

  click 52 44 # 打开图片
  dialog=$(timeout 15 xdotool search --sync --onlyvisible --name "^打开图片$" | head -1) \
    || fail "no file dialog"
  xdotool windowfocus --sync "$dialog"
  sleep 0.5
  xdotool type --delay 10 "$work/in/photo.jpg"
  xdotool key Return
  # The width is stored last, after both bitmaps.
  for _ in $(seq 100); do grep -q "^text6=1920" "$prog/kel.ini" 2>/dev/null && break; sleep 0.1; done
  grep -q "^text6=1920" "$prog/kel.ini" || fail "no width stored after the import"
  [ -f "$prog/zm.bmp" ] || fail "no zm.bmp after the import"
  [ -f "$prog/kel.bmp" ] || fail "no kel.bmp after the import"
  sleep 0.5

  # The preview shows the picture, not the panel behind it.
  import -window root "$work/screen.png"
  panel=$(convert "$work/screen.png" -crop 1x1+$((X + 740))+$((Y + 300)) -format "%[hex:p{0,0}]" info:)
  differing=0
  for at in "200 200" "372 284" "500 380"; do
    set -- $at
    p=$(convert "$work/screen.png" -crop 1x1+$((X + $1))+$((Y + $2)) -format "%[hex:p{0,0}]" info:)
    [ "$p" != "CEE5F7" ] && differing=$((differing + 1))
  done
  [ $differing -ge 2 ] || fail "the preview is not painted"
  [ -z "$shots" ] || convert "$work/screen.png" -crop 745x505+$X+$Y +repage "$shots/main-window.png"

  click 372 44 # 帮  助
  help=$(timeout 15 xdotool search --sync --onlyvisible --name "帮 助" | head -1) \
    || fail "no help window"
  if [ -n "$shots" ]; then
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell --prefix H "$help")"
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop ${HWIDTH}x${HHEIGHT}+$HX+$HY +repage "$shots/help-window.png"
  fi
  xdotool windowfocus --sync "$help"
  xdotool key Escape
  for _ in $(seq 50); do xdotool search --onlyvisible --name "帮 助" >/dev/null || break; sleep 0.1; done
  xdotool search --onlyvisible --name "帮 助" >/dev/null && fail "Esc did not close the help window"

  click 132 44 # 替换墙纸
  for _ in $(seq 50); do
    uri=$(gsettings get org.gnome.desktop.background picture-uri)
    case $uri in "'"'"'file://$work/cache/deskleaf/"*) break ;; esac
    sleep 0.1
  done
  case $uri in "'"'"'file://$work/cache/deskleaf/"*) ;; *) fail "picture-uri is $uri" ;; esac

  click 730 10 # the close caption button
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "the program did not end on close"
  wait $pid || fail "the program ended with status $?"
'
echo "main window: 1 passed, 0 failed"
