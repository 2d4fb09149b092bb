#!/usr/bin/env bash
# Wall time and peak memory of composing the wallpaper for one monitor (1920x1080) and for
# two (the same beside a portrait 1080x1920, each its own picture, and spanned as one) from
# one 4000x3000 JPEG: the picture is decoded once whatever the number of monitors. Prints
# the medians of several runs.
#   bench/compose_monitors.sh [RUNS]      (after a default build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
cmake --build --preset default --target compose_monitors >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 4000x3000 -seed 7 plasma:fractal -quality 90 "$work/photo.jpg"

median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
printf '%-8s %10s %12s\n' case "ms" "peak MiB"
for layout in one two spanned; do
  : > "$work/ms"; : > "$work/kb"
  for _ in $(seq "$runs"); do
    /usr/bin/time -f %M -o "$work/rss" build/bench/compose_monitors "$work/photo.jpg" $layout >> "$work/ms"
    cat "$work/rss" >> "$work/kb"
  done
  printf '%-8s %10s %12s\n' $layout "$(median < "$work/ms")" "$(( $(median < "$work/kb" | cut -d. -f1) / 1024 ))"
done
