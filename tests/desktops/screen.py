#!/usr/bin/python3
"""Pixel checks for scripts/test-desktops.

  screen.py pictures DIR
      writes the test pictures A.png, B.png (wallpapers) and P.png (the desktop's
      previous wallpaper) into DIR
  screen.py calendar ZM
      prints the width and height of the calendar block in a wallpaper composed from A
  screen.py check SHOT EXPECT CAL_W CAL_H SCALE MONITOR...
      checks that every monitor of the screenshot SHOT shows EXPECT (A, B or P);
      for A and B also that the calendar block on the primary monitor is whole and
      SCALE times CAL_W x CAL_H, and that no monitor shows a distorted one.
      A MONITOR is NAME:X,Y,W,H in screenshot pixels, with a trailing * on the primary.
      Prints one line per monitor; exit status 0 when all pass, 1 otherwise.

A and B are the same layout in other colours: a 3x3 grid of colour blocks on the left
55% (its order tells orientation, cropping and spreading over several monitors), a flat
dark field at the top right where the calendar is printed, so that every pixel there
that differs from the field is the calendar's, and another flat colour below it.
P is flat magenta, a colour no desktop shows by itself.
"""

import sys

import numpy as np
from PIL import Image

GRID_RIGHT = 0.55  # the grid covers x < 0.55
FIELD_BOTTOM = 0.70  # the calendar field covers x >= 0.55, y < 0.70

COLOURS = {
    "A": {
        "grid": [[(230, 60, 40), (250, 200, 30), (40, 170, 80)],
                 [(30, 120, 220), (240, 130, 30), (150, 60, 200)],
                 [(20, 190, 190), (200, 230, 120), (120, 80, 40)]],
        "field": (20, 40, 90),
        "below": (240, 130, 170),
    },
    "B": {
        "grid": [[(120, 80, 40), (20, 190, 190), (150, 60, 200)],
                 [(250, 200, 30), (230, 60, 40), (200, 230, 120)],
                 [(240, 130, 30), (40, 170, 80), (30, 120, 220)]],
        "field": (70, 20, 30),
        "below": (90, 200, 110),
    },
}
PREVIOUS = (200, 0, 200)
NAMES = {"A": "picture A", "B": "picture B", "P": "the previous wallpaper"}


def expected_colour(name, rx, ry):
    """The colour of picture NAME at relative position (rx, ry), or None near a border."""
    if name == "P":
        return PREVIOUS
    c = COLOURS[name]
    near = lambda v, edges: any(abs(v - e) < 0.025 for e in edges)
    if near(rx, [GRID_RIGHT]) or near(ry, [FIELD_BOTTOM] if rx > GRID_RIGHT else []):
        return None
    if rx < GRID_RIGHT:
        if near(rx, [GRID_RIGHT / 3, 2 * GRID_RIGHT / 3]) or near(ry, [1 / 3, 2 / 3]):
            return None
        return c["grid"][min(int(ry * 3), 2)][min(int(rx / GRID_RIGHT * 3), 2)]
    return c["field"] if ry < FIELD_BOTTOM else c["below"]


def make_picture(name, width, height):
    x = (np.arange(width) + 0.5) / width
    y = (np.arange(height) + 0.5) / height
    image = np.zeros((height, width, 3), np.uint8)
    if name == "P":
        image[:] = PREVIOUS
        return image
    c = COLOURS[name]
    col = np.minimum((x / GRID_RIGHT * 3).astype(int), 2)
    row = np.minimum((y * 3).astype(int), 2)
    grid = np.array(c["grid"], np.uint8)
    image[:] = grid[row[:, None], col[None, :]]
    right = x >= GRID_RIGHT
    image[:, right] = c["field"]
    image[np.ix_(y >= FIELD_BOTTOM, right)] = c["below"]
    return image


def calendar_box(pixels, field):
    """The bounding box (x0, y0, x1, y1) of what differs from the flat field colour in
    the calendar field of one monitor's pixels, or None when nothing does; and whether
    a panel or the monitor's edge touches it, so that it may be cut or covered."""
    h, w, _ = pixels.shape
    x0, x1 = int(w * (GRID_RIGHT + 0.03)), w - max(2, w // 200)
    y1 = int(h * (FIELD_BOTTOM - 0.03))
    area = pixels[:y1, x0:x1].astype(int)
    differ = np.abs(area - np.array(field)).sum(axis=2)
    ink = differ > 90
    # A row mostly unlike the field is a panel across the screen (GNOME's bar, swaybar's
    # dark grey one), never the calendar, which covers less than half of the field's width.
    panel = (differ > 45).mean(axis=1) > 0.6
    ink[panel] = False
    # A column or row counts with a few ink pixels: lone pixels of a scaled edge do not.
    cols = np.nonzero(ink.sum(axis=0) >= 2)[0]
    rows = np.nonzero(ink.sum(axis=1) >= 2)[0]
    if len(cols) == 0 or len(rows) == 0:
        return None, False
    top, bottom = rows[0], rows[-1] + 1
    touched = (top <= 1 or panel[max(top - 3, 0):top].any() or bottom >= y1 - 1 or
               panel[bottom:bottom + 3].any() or cols[-1] >= x1 - x0 - 2)
    return (x0 + cols[0], top, x0 + cols[-1] + 1, bottom), touched


def picture_score(pixels, name):
    """The share of sample points of one monitor that show picture NAME."""
    h, w, _ = pixels.shape
    hits = total = 0
    for ry in (np.arange(16) + 0.5) / 16:
        for rx in (np.arange(24) + 0.5) / 24:
            if name != "P" and rx >= GRID_RIGHT and ry < FIELD_BOTTOM:
                continue  # the calendar may be printed here
            want = expected_colour(name, rx, ry)
            if want is None:
                continue
            px, py = int(rx * w), int(ry * h)
            patch = pixels[max(py - 3, 0):py + 4, max(px - 3, 0):px + 4].reshape(-1, 3)
            got = np.median(patch, axis=0)
            total += 1
            hits += int(np.abs(got - np.array(want)).max() <= 40)
    return hits / total


def describe(pixels, expect):
    """What a monitor shows when it is not the expected picture."""
    scores = {n: picture_score(pixels, n) for n in ("A", "B", "P")}
    best = max(scores, key=scores.get)
    if best == expect and scores[best] >= 0.5:
        return "%s cropped, moved or distorted (%.0f%% in place)" % (NAMES[best],
                                                                   100 * scores[best])
    if scores[best] >= 0.5:
        return "%s (%.0f%%)" % (NAMES[best], 100 * scores[best])
    flat = pixels.reshape(-1, 3)
    values, counts = np.unique(flat[:: max(1, len(flat) // 20000)], axis=0, return_counts=True)
    top = values[counts.argmax()]
    share = counts.max() / counts.sum()
    return "mostly #%02x%02x%02x (%.0f%%)" % (top[0], top[1], top[2], 100 * share)


def check(shot, expect, cal_w, cal_h, scale, monitors):
    screen = np.asarray(Image.open(shot).convert("RGB"))
    ok = True
    if not any(spec.endswith("*") for spec in monitors):
        monitors = [monitors[0] + "*"] + monitors[1:]  # no primary set: the first one
    for spec in monitors:
        name, geometry = spec.split(":", 1)
        primary = geometry.endswith("*")
        x, y, w, h = (int(v) for v in geometry.rstrip("*").split(","))
        pixels = screen[y:y + h, x:x + w]
        label = "%s %dx%d%s" % (name, w, h, " primary" if primary else "")
        if pixels.shape[:2] != (h, w):
            print("FAIL %s: the screenshot (%dx%d) does not cover it" %
                  (label, screen.shape[1], screen.shape[0]))
            ok = False
            continue
        score = picture_score(pixels, expect)
        if score < 0.85:
            shows = describe(pixels, expect)
            print("FAIL %s: shows %s" % (label, shows) if shows.startswith(NAMES[expect]) else
                  "FAIL %s: shows %s, not %s" % (label, shows, NAMES[expect]))
            ok = False
            continue
        if expect == "P":
            print("PASS %s: shows %s (%.0f%%)" % (label, NAMES[expect], 100 * score))
            continue
        box, touched = calendar_box(pixels, COLOURS[expect]["field"])
        want_w, want_h = cal_w * scale, cal_h * scale
        verdict = "PASS"
        if box is None:
            calendar = "no calendar"
            if primary:
                verdict = "FAIL"
        else:
            bw, bh = box[2] - box[0], box[3] - box[1]
            calendar = "calendar %dx%d at %d,%d (want %.0fx%.0f)" % (bw, bh, box[0], box[1],
                                                                     want_w, want_h)
            if touched:
                verdict = "FAIL"
                calendar += ": cut or covered at the monitor's edge or by a panel"
            elif abs(bw - want_w) > 0.05 * want_w + 3 or abs(bh - want_h) > 0.05 * want_h + 3:
                verdict = "FAIL"
                calendar += ": squashed" if abs(bw / bh - cal_w / cal_h) > 0.1 * cal_w / cal_h \
                    else ": wrong size"
        ok &= verdict == "PASS"
        print("%s %s: shows %s (%.0f%%), %s" % (verdict, label, NAMES[expect], 100 * score,
                                                 calendar))
    return 0 if ok else 1


def main(argv):
    if len(argv) >= 2 and argv[0] == "pictures":
        for name in ("A", "B", "P"):
            Image.fromarray(make_picture(name, 1600, 1200)).save("%s/%s.png" % (argv[1], name))
        return 0
    if len(argv) == 2 and argv[0] == "calendar":
        pixels = np.asarray(Image.open(argv[1]).convert("RGB"))
        box, _ = calendar_box(pixels, COLOURS["A"]["field"])
        if box is None:
            print("no calendar in %s" % argv[1], file=sys.stderr)
            return 1
        print(box[2] - box[0], box[3] - box[1])
        return 0
    if len(argv) >= 7 and argv[0] == "check":
        return check(argv[1], argv[2], float(argv[3]), float(argv[4]), float(argv[5]), argv[6:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
