#!/usr/bin/env bash
# Measures the monitors on real display servers with print_screens and checks the device
# pixels, the scale and the primary monitor: Xvfb with one 1920x1080 screen, Xorg on the
# dummy driver with two RandR outputs (xorg-dummy-two-monitors.conf), sway headless with two
# outputs at 1.5 and 1.25 (sway-headless-two-outputs.conf), read through swaymsg and through
# the Wayland protocol. A server that is not installed, or cannot run here, is skipped;
# with none at all the test skips (status 77).
#   screens_test.sh PRINT_SCREENS
set -u
probe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failed=0 ran=0

# check NAME EXPECTED ENV...: print_screens under ENV must print EXPECTED ("|" between lines).
check() {
  local name=$1 want=$2 got
  shift 2
  got=$(env "$@" QT_QPA_PLATFORM=offscreen "$probe" 2>"$work/err" | paste -sd'|')
  if [ "$got" = "$want" ]; then
    echo "ok   $name: $got"
  else
    echo "FAIL $name: got '$got' want '$want'"; cat "$work/err"; failed=1
  fi
}

# same_names NAME PLATFORM ENV...: the names match QScreen::name() of Qt on PLATFORM.
same_names() {
  local name=$1 platform=$2 out ours qts
  shift 2
  # Qt's Wayland plugin leaves its connection's objects to the exit: no leak report here
  out=$(env "$@" QT_QPA_PLATFORM="$platform" ASAN_OPTIONS=detect_leaks=0 "$probe" --qt 2>/dev/null)
  ours=$(grep -v '^qt' <<< "$out" | cut -f1 | sort | paste -sd' ')
  qts=$(grep '^qt' <<< "$out" | cut -f2 | sort | paste -sd' ')
  if [ -n "$ours" ] && [ "$ours" = "$qts" ]; then
    echo "ok   $name: names as Qt's: $qts"
  else
    echo "FAIL $name: names '$ours', Qt's '$qts'"; failed=1
  fi
}

# start_x SERVER ARGS...: starts an X server on a free display it picks; sets $display.
start_x() {
  "$@" -displayfd 3 -noreset -nolisten tcp 3>"$work/displayfd" >"$work/x.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    display=:$(head -n1 "$work/displayfd" 2>/dev/null)
    [ "$display" != ":" ] && DISPLAY=$display xprop -root >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  cat "$work/x.log"
  return 1
}

# stop_last: stops the server started last.
stop_last() {
  kill "${pids[-1]}" 2>/dev/null; wait "${pids[-1]}" 2>/dev/null; unset 'pids[-1]'
}

dpi144=$(printf 'Xft.dpi:\t144\n')

if command -v Xvfb >/dev/null && command -v xprop >/dev/null; then
  ran=1
  start_x Xvfb -screen 0 1920x1080x24 || { echo "FAIL Xvfb did not start"; exit 1; }
  check "Xvfb" "screen	1920x1080+0+0	1	primary" DISPLAY=$display
  check "Xvfb QT_SCALE_FACTOR=2" "screen	1920x1080+0+0	2	primary" \
    DISPLAY=$display QT_SCALE_FACTOR=2
  DISPLAY=$display xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$dpi144"
  check "Xvfb Xft.dpi=144" "screen	1920x1080+0+0	1.5	primary" DISPLAY=$display
  same_names "Xvfb" xcb DISPLAY=$display
  stop_last
else
  echo "skip Xvfb: not installed"
fi

dummy=/usr/lib/xorg/modules/drivers/dummy_drv.so
if [ "$(id -u)" -ne 0 ]; then
  echo "skip Xorg: runs as root only here"
elif ! command -v Xorg >/dev/null || [ ! -e "$dummy" ] || ! command -v xrandr >/dev/null; then
  echo "skip Xorg: Xorg, its dummy driver or xrandr is not installed"
elif ! start_x Xorg -config "$here/xorg-dummy-two-monitors.conf" -logfile "$work/xorg.log"; then
  echo "FAIL Xorg did not start"; failed=1
else
  ran=1
  check "Xorg QT_SCALE_FACTOR=2" \
    "DUMMY0	1920x1080+0+0	2	primary|DUMMY1	1080x1920+1920+0	2" \
    DISPLAY=$display QT_SCALE_FACTOR=2
  DISPLAY=$display xrandr --output DUMMY0 --mode 2560x1440 --output DUMMY1 --pos 2560x0
  DISPLAY=$display xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$dpi144"
  # Qt gives 1707x960 times 1.5 here, 2561x1440
  check "Xorg 2560x1440 Xft.dpi=144" \
    "DUMMY0	2560x1440+0+0	1.5	primary|DUMMY1	1080x1920+2560+0	1.5" DISPLAY=$display
  DISPLAY=$display xrandr --output DUMMY1 --primary
  check "Xorg primary DUMMY1" \
    "DUMMY1	1080x1920+2560+0	1.5	primary|DUMMY0	2560x1440+0+0	1.5" DISPLAY=$display
  same_names "Xorg" xcb DISPLAY=$display
  stop_last
fi

if ! command -v sway >/dev/null || ! command -v swaymsg >/dev/null; then
  echo "skip sway: not installed"
else
  ran=1
  runtime="$work/sway"
  mkdir -m 700 "$runtime"
  as=()
  if [ "$(id -u)" -eq 0 ]; then # sway refuses to run as root
    chown 65534:65534 "$runtime"
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  fi
  HOME=$runtime XDG_RUNTIME_DIR=$runtime WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman "${as[@]}" sway --config "$here/sway-headless-two-outputs.conf" \
    >"$work/sway.log" 2>&1 &
  pids+=($!)
  session=()
  for _ in $(seq 100); do
    sock=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null)
    if [ -n "$sock" ] &&
      [ "$(SWAYSOCK=$sock swaymsg -t get_outputs --raw 2>/dev/null | grep -c '"current_mode"')" = 2 ]; then
      session=(XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-1)
      break
    fi
    sleep 0.1
  done
  if [ ${#session[@]} -eq 0 ]; then
    echo "FAIL sway did not bring up two outputs"; cat "$work/sway.log"; failed=1
  else
    # Qt gives 1706x960 times 2 here, 3412x1920; and 1536x864 times 2, 3072x1728
    want="HEADLESS-1	2560x1440+0+0	1.5	primary|HEADLESS-2	1920x1080+1706+0	1.25"
    check "sway via swaymsg" "$want" "${session[@]}" SWAYSOCK=$sock
    check "sway via Wayland" "$want" "${session[@]}" SWAYSOCK=
    # sway's "90" reaches Wayland clients as wl_output's transform 270: both turn the mode
    SWAYSOCK=$sock swaymsg output HEADLESS-2 transform 90 >/dev/null
    want="HEADLESS-1	2560x1440+0+0	1.5	primary|HEADLESS-2	1080x1920+1706+0	1.25"
    check "sway turned via swaymsg" "$want" "${session[@]}" SWAYSOCK=$sock
    check "sway turned via Wayland" "$want" "${session[@]}" SWAYSOCK=
    if compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null; then
      same_names "sway" wayland "${session[@]}" SWAYSOCK=
    fi
  fi
  stop_last
fi

[ $ran -eq 1 ] || { echo "SKIP: no display server to measure"; exit 77; }
exit $failed
