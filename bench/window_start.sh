#!/usr/bin/env bash
# The main window's start: from starting Tidemark to its first paint, on a 1920x1080 Xvfb
# screen, with a wallpaper already composed (so the preview is read too). Prints the median
# of RUNS runs.
#   bench/window_start.sh [RUNS]      (after a default build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
. bench/program_folder.sh
export QT_LOGGING_RULES="deskleaf.startup.info=true"
unset XDG_SESSION_ID WAYLAND_DISPLAY QT_QPA_PLATFORM
export work

xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
  for _ in $(seq '"$runs"'); do
    start=$(date +%s%3N)
    "$work/prog/Tidemark" 2> "$work/log" & pid=$!
    for _ in $(seq 100); do grep -q "first paint" "$work/log" && break; sleep 0.02; done
    painted=$(sed -n "s/.*first paint at \([0-9]*\).*/\1/p" "$work/log")
    kill $pid; wait $pid 2>/dev/null || true
    echo $((painted - start))
  done' | sort -n | awk '{ a[NR] = $1 } END {
    printf "main window, start to first paint at 1920x1080: median %d ms over %d runs (min %d, max %d)\n",
      (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2, NR, a[1], a[NR] }'
