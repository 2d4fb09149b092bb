#!/usr/bin/env bash
# The logon start tells every failure, though nobody watches it: a line on stderr and exit
# status 1, with the day's wallpaper still made when it can be. The real Tidemark, started
# as its logon entry starts it in a private mount namespace, with the real gsettings
# (keyfile backend).
#   logon_start_failures_test.sh TIDEMARK DESKLEAF
set -euo pipefail
tidemark=$1
deskleaf=$2
unshare -m true 2>/dev/null || { echo "SKIP: no private mount namespace here"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prog="$work/prog"
mkdir -p "$prog" "$work/home" "$work/run"
chmod 700 "$work/run"
cp "$tidemark" "$prog/Tidemark"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
  XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run" XDG_CURRENT_DESKTOP=GNOME \
  GSETTINGS_BACKEND=keyfile
unset XDG_SESSION_ID DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

fail() { echo "FAIL: $*"; exit 1; }
# logon_start [PREPARE]: the logon start, after the shell commands PREPARE in its
# namespace; sets status and err.
logon_start() {
  status=0
  timeout 30 unshare -m sh -c "${1:-true}"' && exec "$0" --logon-start' \
    "$prog/Tidemark" 2>"$work/err" || status=$?
  err=$(cat "$work/err")
}

# The first start in a folder nobody may write: the default kel.ini cannot be written.
logon_start "mount --bind '$prog' '$prog' && mount -o remount,ro,bind '$prog'"
[ "$status" = 1 ] || fail "a settings file that cannot be written: exit status $status"
case $err in "Tidemark: "*kel.ini*) ;; *) fail "a settings file that cannot be written: '$err'" ;; esac
[ ! -e "$prog/kel.ini" ] || fail "kel.ini was written"

# Auto-run ticked, and the logon start cannot be registered again: the job is still done.
printf 'P6\n640 360\n255\n' > "$work/picture.ppm"
head -c $((640 * 360 * 3)) /dev/zero | tr '\0' '\120' >> "$work/picture.ppm"
"$deskleaf" render --folder "$prog" --picture "$work/picture.ppm" --size 640x360 >/dev/null
printf '[MyApp3]\r\ntext4=1\r\n[MyApp]\r\ntext0= %s\r\n' "$(date -d yesterday +%F)" \
  > "$prog/kel.ini"
mkdir -p "$XDG_CONFIG_HOME"
echo "not a folder" > "$XDG_CONFIG_HOME/autostart"
rm -f "$prog/zm.bmp"
logon_start
[ "$status" = 1 ] || fail "a registration that failed: exit status $status"
case $err in "Tidemark: Could not register the program to start at logon"*) ;;
  *) fail "a registration that failed: '$err'" ;; esac
[ -f "$prog/zm.bmp" ] || fail "no zm.bmp when only the registration failed"
tr -d '\r' < "$prog/kel.ini" | grep -qx "text0= $(date +%F)" || fail "today is not recorded"

# Once it can be registered, the same day's start is quiet and done.
rm "$XDG_CONFIG_HOME/autostart"
logon_start
[ "$status" = 0 ] && [ -z "$err" ] || fail "a start without failures: status $status, '$err'"
[ -f "$XDG_CONFIG_HOME/autostart/qorvent.desktop" ] || fail "not registered"
echo "logon start failures: 1 passed, 0 failed"
