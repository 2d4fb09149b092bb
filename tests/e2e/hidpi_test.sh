#!/usr/bin/env bash
# Tidemark at 200% (QT_SCALE_FACTOR=2) under Xvfb: the main and help windows' title bands,
# captions and buttons are drawn at the screen's pixel ratio, so their edges are sharper than
# the same windows at 100% scaled up twice, and not the same windows at 100% with each pixel
# doubled.
#   hidpi_test.sh TIDEMARK DESKLEAF PICTURE [SCREENSHOT_FOLDER]
# With a folder, the windows at 200% are saved there as main-window@2x.png and
# help-window@2x.png.
set -euo pipefail
tidemark=$1
deskleaf=$2
picture=$3
shots=${4:-}
. "$(dirname "$0")/window_session.sh" "$tidemark"
command -v convert >/dev/null || { echo "SKIP: ImageMagick is missing"; exit 77; }
export shots
# The sample as the imported picture, so the preview shows it.
QT_QPA_PLATFORM=offscreen "$deskleaf" render --folder "$prog" --picture "$picture" \
  --size 1920x1080 >/dev/null

xvfb-run -a -s "-screen 0 2400x1600x24" bash -euo pipefail -c '
  fail() { echo "FAIL: $*"; exit 1; }
  # shoot SCALE NAME: the main window (then the help window) at SCALE, saved as NAME-main.png
  # and NAME-help.png, in device pixels.
  # grab TITLE FILE: waits for the window titled TITLE and saves it; sets X and Y.
  grab() {
    local win
    win=$(timeout 15 xdotool search --sync --onlyvisible --name "$1" | head -1) || return 1
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$win")"
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop ${WIDTH}x${HEIGHT}+$X+$Y +repage "$2"
  }
  shoot() {
    QT_SCALE_FACTOR=$1 "$prog/Tidemark" & local pid=$!
    grab "^DeskleafV4.0$" "$work/$2-main.png" || fail "the main window did not appear at $1"
    xdotool mousemove $((X + 372 * $1)) $((Y + 44 * $1)) click 1 # 帮  助
    grab "帮 助" "$work/$2-help.png" || fail "no help window at $1"
    kill $pid; wait $pid || true
  }
  # Edge energy of the top band (title, caption, caption buttons): the mean Sobel gradient.
  edges() {
    convert "$1" -crop "x$2+0+0" -colorspace Gray -define convolve:scale="!" \
      -morphology Convolve Sobel -format "%[fx:mean]" info:
  }
  shoot 1 once
  shoot 2 twice
  for w in main help; do
    convert "$work/once-$w.png" -filter Triangle -resize 200% "$work/scaled-$w.png"
    [ "$(identify -format %wx%h "$work/scaled-$w.png")" = \
      "$(identify -format %wx%h "$work/twice-$w.png")" ] || fail "$w: not twice the size at 200%"
    sharp=$(edges "$work/twice-$w.png" 60) scaled=$(edges "$work/scaled-$w.png" 60)
    echo "$w window, top band edge energy: at 200% $sharp, 100% scaled up $scaled"
    awk -v a="$sharp" -v b="$scaled" "BEGIN { exit !(a > b * 1.15) }" \
      || fail "$w: the title band at 200% is no sharper than 100% scaled up"
    # Pixels of the caption (left) and caption buttons (right) at 200% that are not copies of
    # the top-left pixel of their 2 x 2 block, as all are in a picture drawn at 100% and doubled.
    width=$(identify -format %w "$work/twice-$w.png")
    parts="100x44+$((width - 100))+0" # the caption buttons
    [ $w = main ] || parts="$parts 200x44+0+0" # and the help window caption
    for part in $parts; do
      convert "$work/twice-$w.png" -crop $part +repage "$work/part.png"
      convert "$work/part.png" -sample 50% -sample 200% "$work/blocks.png"
      own=$(compare -metric AE -fuzz 3% "$work/part.png" "$work/blocks.png" null: 2>&1 || true)
      echo "$w window, $part: $own pixels drawn finer than 100%"
      [ "${own%%.*}" -ge 20 ] || fail "$w: $part at 200% is drawn at 100% and doubled"
    done
  done
  if [ -n "$shots" ]; then
    cp "$work/twice-main.png" "$shots/main-window@2x.png"
    cp "$work/twice-help.png" "$shots/help-window@2x.png"
  fi
'
echo "high dpi: 1 passed, 0 failed"
