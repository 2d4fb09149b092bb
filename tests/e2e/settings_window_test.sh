#!/usr/bin/env bash
# The settings window end to end: a reminder for a day of this month, entered with the
# keyboard alone (Tab to the date field, the picker's arrow keys, Enter), lands in kel.ini and
# on today's line of that day; a second text for the same day, picked with the mouse, asks
# before replacing, and giving up keeps the file. The real Tidemark under Xvfb, driven with
# xdotool, set up by window_session.sh.
#   settings_window_test.sh TIDEMARK DESKLEAF [SCREENSHOT_FOLDER]
# With a folder, settings-window.png, date-picker.png and confirm-box.png are saved there.
set -euo pipefail
tidemark=$1
deskleaf=$2
shots=${3:-}
. "$(dirname "$0")/window_session.sh" "$tidemark"
export shots deskleaf

xvfb-run -a -s "-screen 0 1920x1080x24" bash -euo pipefail -c '
  fail() { echo "FAIL: $*"; kill $pid 2>/dev/null; exit 1; }
  "$prog/Tidemark" & pid=$!

  # window NAME P: waits for the window and sets PX, PY, PWIDTH, PHEIGHT, PWINDOW.
  window() {
    local id
    id=$(timeout 15 xdotool search --sync --onlyvisible --name "$1" | head -1) \
      || fail "no window $1"
    eval "$(xdotool getwindowgeometry --shell --prefix "$2" "$id")"
  }
  gone() {
    for _ in $(seq 50); do
      xdotool search --onlyvisible --name "$1" >/dev/null || return 0
      sleep 0.1
    done
    fail "$1 is still open"
  }
  # click P x y: a click at x, y inside window P.
  click() {
    eval "x=\$$1X y=\$$1Y"
    xdotool mousemove $((x + $2)) $((y + $3)); sleep 0.2; xdotool click 1
  }
  shot() {
    [ -n "$shots" ] || return 0
    sleep 0.5
    import -window root "$work/screen.png"
    eval "convert \"\$work/screen.png\" -crop \${$1WIDTH}x\${$1HEIGHT}+\$$1X+\$$1Y" \
      "+repage \"\$shots/$2\""
  }
  section() { iconv -f GBK -t UTF-8 "$prog/kel.ini" | tr -d "\r" | sed -n "/^\[MyApp4\]/,/^\[/p"; }

  window "^DeskleafV4.0$" M
  # A day from the 20th on with nothing on its line yet: no lunar festival, no stored text.
  month=$(date +%Y-%m)
  line() { "$deskleaf" month "$month" --folder "$prog" --today "$month-$1" | sed -n "s/^Label6\t//p"; }
  for day in $(seq 20 28); do [ -z "$(line "$day")" ] && break; done
  # Its picker cell (twips): cell 0 is Sunday of row 0, cells 1 to 36 fill rows of Monday
  # first; the rows move up when the month does not start on a Sunday.
  first=$(date -d "$month-01" +%w)
  cell=$((first + day - 1))
  compact=(1200 1760 2280 2820 3380 4020)
  left=$((480 + 480 * ((cell - 1) % 7)))
  top=$(( first == 0 ? 1680 + 600 * ((cell - 1) / 7) : compact[(cell - 1) / 7] ))

  settings() {
    window "^设置$" S
    [ "$SX,$SY,$SWIDTH,$SHEIGHT" = "803,353,313,374" ] \
      || fail "the settings window is ${SWIDTH}x$SHEIGHT at $SX,$SY"
  }
  keys() { for k in "$@"; do xdotool key "$k"; sleep 0.15; done; }

  # With the keyboard alone: 设  置 is the fourth command, the date field the fourth control;
  # the picker opens on today, the arrow keys walk to the day, Space marks it, Enter takes it.
  xdotool windowfocus --sync "$MWINDOW"
  keys Tab Tab Tab Return
  settings
  keys Tab Tab Tab Return
  window "^Calendar$" C
  steps=$((day - $(date +%-d))) way=Right
  [ $steps -ge 0 ] || steps=$((-steps)) way=Left
  keys $(for _ in $(seq $steps); do echo $way; done) Down Up space
  shot C date-picker.png
  keys Return
  gone "^Calendar$"
  xdotool windowfocus --sync "$SWINDOW" # as a window manager gives it back
  keys Tab
  xdotool type --delay 20 "Team lunch"
  shot S settings-window.png
  keys Tab Tab Return # the day kind, then ok
  window "^提示$" T
  xdotool windowfocus --sync "$TWINDOW"
  xdotool key Return
  gone "^设置$"
  key=$(date -d "$month-$day" +%m-%d)
  section | grep -qx "$key=Team lunch" \
    || fail "[MyApp4] of kel.ini has \"$(section | grep "^$key=")\", not $key=Team lunch"
  line "$day" | grep -q "Team lunch" || fail "the line of $month-$day does not show the text"

  # remind TEXT: opens the settings, picks the day with the mouse and saves TEXT for it.
  remind() {
    click M 292 44 # 设  置
    settings
    click S 170 137 # the date field
    window "^Calendar$" C
    click C $(((left + 7) / 15 + 8)) $(((top + 7) / 15 + 8))
    xdotool windowfocus --sync "$CWINDOW"
    xdotool key Escape
    gone "^Calendar$"
    click S 100 161 # the text field
    xdotool windowfocus --sync "$SWINDOW"
    xdotool type --delay 20 "$1"
    click S 292 148 # ok
  }

  cp "$prog/kel.ini" "$work/kel.ini"
  remind "Year review"
  window "^消息提示$" B
  shot B confirm-box.png
  click B 204 180 # 放 弃
  gone "^消息提示$"
  cmp -s "$prog/kel.ini" "$work/kel.ini" || fail "giving up changed kel.ini"

  click S 300 12 # the close caption button
  gone "^设置$"
  click M 730 10
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "the program did not end on close"
  wait $pid || fail "the program ended with status $?"
'
echo "settings window: 1 passed, 0 failed"
