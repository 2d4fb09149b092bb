#!/usr/bin/env bash
# The logon start as a whole process at 1920x1080, from start to exit: Tidemark started as
# its logon entry starts it, with the real gsettings (keyfile backend) as the desktop.
# Prints the median wall time and peak memory of RUNS runs.
#   bench/logon_start.sh [RUNS]      (after a default build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
. bench/program_folder.sh
unset XDG_SESSION_ID DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

times=() mems=()
for _ in $(seq "$runs"); do
  # Yesterday's date, so that every run does the whole job.
  printf '[MyApp3]\r\ntext4=1\r\n[MyApp]\r\ntext0= 2000-01-01\r\n' > "$work/prog/kel.ini"
  /usr/bin/time -f '%e %M' -o "$work/time" "$work/prog/Tidemark" --logon-start
  read -r t m < "$work/time"
  times+=("$t"); mems+=("$m")
done
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
t=$(printf '%s\n' "${times[@]}" | median)
m=$(printf '%s\n' "${mems[@]}" | median)
awk -v t="$t" -v m="$m" -v n="$runs" 'BEGIN { printf "logon start at 1920x1080: median %.3f s, peak %.1f MiB over %d runs\n", t, m / 1024, n }'
