#!/usr/bin/env bash
# Wall time and peak memory of `deskleaf render --picture` against ImageMagick doing the
# same work: stretch a JPEG to the screen size, print the calendar's ~80 texts with the
# same fonts, write a 24-bit BMP. Prints the medians of several runs and the ratios.
#   bench/render_vs_imagemagick.sh [RUNS]      (after scripts/test or a default build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
deskleaf=build/bin/deskleaf
draw=build/draw_sample_picture
[ -x "$deskleaf" ] || { echo "build first: cmake --preset default && cmake --build --preset default" >&2; exit 2; }
cmake --build --preset default --target draw_sample_picture >/dev/null
command -v convert >/dev/null || { echo "ImageMagick is missing: scripts/setup installs it" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
serif=/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf
cjk=/usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc
today=2026-03-05

# ImageMagick's drawing of the same texts at about the same places (pixel sizes as at 96 dpi).
imagemagick_args() {
  local width=$1 x0=$(( $1 - 340 ))
  local args=(-font "$serif" -fill '#e7e7ff' -pointsize 33 -annotate "+$((x0 + 170))+70" "03. 2026"
              -font "$cjk" -pointsize 16 -annotate "+$((x0 + 50))+70" "农历:一月"
              -pointsize 15 -annotate "+$((x0 + 40))+95" "周一 周二 周三 周四 周五 周六 周日")
  local index caption row col
  while IFS=$'\t' read -r index caption _; do
    case $index in ''|*[!0-9]*) continue ;; esac
    [ -n "${caption// /}" ] || continue
    row=$(( (index + 6) / 7 )); col=$(( (index + 6) % 7 ))
    args+=(-font "$serif" -pointsize 21 -annotate "+$((x0 + 45 + col * 38))+$((100 + row * 40))" "${caption%% *}"
           -font "$cjk" -pointsize 11 -annotate "+$((x0 + 45 + col * 38))+$((120 + row * 40))" "${caption#* }")
  done < <("$deskleaf" month 2026-03 --today $today --folder "$work")
  printf '%s\0' "${args[@]}"
}

median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

# measure NAME COMMAND...: RUNS runs; prints "seconds kib" medians.
measure() {
  local name=$1; shift
  local times=() mems=()
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1
    read -r t m < "$work/time"
    times+=("$t"); mems+=("$m")
  done
  echo "$(printf '%s\n' "${times[@]}" | median) $(printf '%s\n' "${mems[@]}" | median)"
}

printf '%-24s %10s %10s %12s %12s %8s %8s\n' case deskleaf_s magick_s deskleaf_MiB magick_MiB time mem
for case in 4000x3000:1920x1080 8000x6000:3840x2160; do
  picture=${case%%:*}; screen=${case##*:}
  "$draw" "$work/photo-$picture.jpg" "$picture" 2>/dev/null
  mkdir -p "$work/out"
  mapfile -d '' draws < <(imagemagick_args "${screen%x*}")
  read -r ds dk < <(measure deskleaf "$deskleaf" render --folder "$work/out" \
    --picture "$work/photo-$picture.jpg" --size "$screen" --today $today)
  read -r ms mk < <(measure magick convert "$work/photo-$picture.jpg" -resize "$screen!" \
    "${draws[@]}" -type TrueColor "BMP3:$work/magick.bmp")
  awk -v c="$picture to $screen" -v ds="$ds" -v ms="$ms" -v dk="$dk" -v mk="$mk" 'BEGIN {
    printf "%-24s %10.3f %10.3f %12.1f %12.1f %8.2f %8.2f\n", c, ds, ms, dk / 1024, mk / 1024, ds / ms, dk / mk }'
done
