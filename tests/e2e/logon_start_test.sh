#!/usr/bin/env bash
# The logon start end to end: the real Tidemark in a program folder of its own, started as
# its logon entry starts it and as a user does, with the real gsettings (keyfile backend) as
# the desktop.
#   logon_start_test.sh TIDEMARK DESKLEAF
set -euo pipefail
tidemark=$1
deskleaf=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prog="$work/程序 folder"
mkdir -p "$prog" "$work/home"
cp "$tidemark" "$prog/Tidemark"
today=$(date +%F)
yesterday=$(date -d yesterday +%F)
printf '[MyApp3]\r\ntext4=1\r\n[MyApp]\r\ntext0= %s\r\n' "$yesterday" > "$prog/kel.ini"

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
  XDG_DATA_HOME="$work/data" XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=keyfile
unset XDG_SESSION_ID DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

# A 1280x720 background, written by the program itself from a generated picture.
printf 'P6\n1280 720\n255\n' > "$work/picture.ppm"
head -c $((1280 * 720 * 3)) /dev/zero | tr '\0' '\120' >> "$work/picture.ppm"
mkdir -p "$work/import"
"$deskleaf" render --folder "$work/import" \
  --picture "$work/picture.ppm" --size 1280x720 >/dev/null
cp "$work/import/kel.bmp" "$prog/kel.bmp"

# Tidemark as the logon entry starts it.
logon_start() { timeout 30 "$prog/Tidemark" --logon-start; }
fail() { echo "FAIL: $*"; exit 1; }
setting() { tr -d '\r' < "$prog/kel.ini" | sed -n "s/^$1=//p"; }

logon_start || fail "the logon start failed or did not end by itself"
[ -f "$prog/zm.bmp" ] || fail "no zm.bmp"
uri=$(gsettings get org.gnome.desktop.background picture-uri)
case $uri in "'file://$work/cache/deskleaf/"*) ;; *) fail "picture-uri is $uri" ;; esac
[ "$(gsettings get org.gnome.desktop.background picture-uri-dark)" = "$uri" ] \
  || fail "picture-uri-dark differs"
[ "$(setting text0)" = " $today" ] || fail "text0 is '$(setting text0)'"
grep -q "^Exec=.*程序 folder/Tidemark\" --logon-start$" "$XDG_CONFIG_HOME/autostart/qorvent.desktop" \
  || fail "the logon start is not registered again"
desktop-file-validate "$XDG_CONFIG_HOME/autostart/qorvent.desktop" || fail "bad autostart entry"

# The same day again: nothing is made.
before=$(md5sum < "$prog/zm.bmp")
logon_start || fail "the second logon start failed"
[ "$(md5sum < "$prog/zm.bmp")" = "$before" ] || fail "zm.bmp was made twice in one day"
[ "$(gsettings get org.gnome.desktop.background picture-uri)" = "$uri" ] || fail "set twice"

# Any other start opens the window, however soon after start-up or logon.
export work prog
xvfb-run -a bash -c '
  "$prog/Tidemark" & pid=$!
  for _ in $(seq 150); do
    if xwininfo -root -tree 2>/dev/null | grep -q "DeskleafV4.0"; then kill $pid; exit 0; fi
    sleep 0.1
  done
  kill $pid; exit 1' || fail "no window for a start from the menu"
echo "logon start: 1 passed, 0 failed"
