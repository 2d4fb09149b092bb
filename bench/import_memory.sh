#!/usr/bin/env bash
# Peak memory and wall time of `deskleaf render --picture` on good, damaged and oversized
# pictures: each is imported once at 1920x1080 into a fresh folder. Every import should stay
# under 600 MiB, the damaged ones should be refused (exit 1) and the good ones taken (exit 0).
#   bench/import_memory.sh [BUILD_DIR]      (default: build, after scripts/test)
# DESKLEAF=PATH measures another deskleaf binary; VERBOSE=1 shows what each import said.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
deskleaf=${DESKLEAF:-$build/bin/deskleaf}
draw=$build/draw_sample_picture
[ -x "$deskleaf" ] || { echo "build first: cmake --build $build --target deskleaf" >&2; exit 2; }
cmake --build "$build" --target draw_sample_picture >/dev/null
command -v convert >/dev/null || { echo "ImageMagick is missing: scripts/setup installs it" >&2; exit 2; }
command -v python3 >/dev/null || { echo "python3 is missing" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
in=$work/in
mkdir -p "$in"

# cut FILE BYTES OUT: the first BYTES bytes of FILE.
cut() { head -c "$2" "$1" > "$3"; }

# Good pictures.
cp assets/sample.jpg "$in/sample.jpg"
{ cat assets/sample.jpg; head -c 204800 /dev/urandom; } > "$in/motion-photo.jpg"
"$draw" "$in/photo-12000x8400.jpg" 12000x8400
"$draw" "$in/photo-12000x8400.png" 12000x8400
"$draw" "$work/photo-4000x2800.png" 4000x2800
convert "$work/photo-4000x2800.png" -interlace JPEG "$in/progressive-4000x2800.jpg"
convert assets/sample.jpg -resize 800x600 "$in/sample.gif"
convert assets/sample.jpg -resize 800x600 -type TrueColor "BMP3:$in/sample.bmp"

# Damaged pictures.
cut "$in/sample.gif" $(( $(stat -c %s "$in/sample.gif") / 2 )) "$in/truncated.gif"
cut "$in/sample.gif" $(( $(stat -c %s "$in/sample.gif") - 1 )) "$in/no-trailer.gif"
cut "$in/sample.bmp" $(( $(stat -c %s "$in/sample.bmp") / 2 )) "$in/truncated.bmp"
{ head -c 60000 assets/sample.jpg; printf '\xff\xd9'; } > "$in/truncated-with-eoi.jpg"
head -c 60000 assets/sample.jpg > "$in/truncated.jpg"

# Headers claiming far more than their files hold, and a real 16000x16000 GIF of one colour.
convert -size 16x16 xc:gray "$in/tiny.jpg"
python3 - "$in" <<'EOF'
import struct, sys, zlib
out = sys.argv[1]

# The 16x16 JPEG with its frame header saying 16000 x 16000.
jpeg = bytearray(open(f"{out}/tiny.jpg", "rb").read())
sof = next(i for i in range(len(jpeg) - 1) if jpeg[i] == 0xFF and jpeg[i + 1] in (0xC0, 0xC2))
jpeg[sof + 5:sof + 9] = struct.pack(">HH", 16000, 16000)
open(f"{out}/claims-16000-over-16x16.jpg", "wb").write(jpeg)

# A 4 KB uncompressed 24-bit BMP saying 16000 x 16000.
bmp = b"BM" + struct.pack("<IHHI", 4096, 0, 0, 54)
bmp += struct.pack("<IiiHHIIiiII", 40, 16000, 16000, 1, 24, 0, 0, 2835, 2835, 0, 0)
open(f"{out}/claims-16000-4k.bmp", "wb").write(bmp + bytes(4096 - len(bmp)))

# A PNG saying 12000 x 8400 over one row of pixels.
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 12000, 8400, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(bytes(1 + 3 * 12000))) + chunk(b"IEND", b"")
open(f"{out}/claims-12000x8400.png", "wb").write(png)

# A one-colour 16000 x 16000 GIF, compressed as far as LZW goes: the code table fills up
# with ever longer runs and is then kept (no clear code), each 12-bit code 3839 pixels.
width = height = 16000
codes, size, pixels, length = [256, 0], 258, width * height - 1, 2
while pixels > 0:
    run = min(length, pixels)
    if run < length:  # the rest is made of the shortest codes
        codes += [0] * run
        break
    codes.append(size - 1 if size < 4096 else 4095)
    pixels -= run
    if size < 4096:
        size, length = size + 1, length + 1
codes.append(257)
bits, nbits, data, next_code, code_size = 0, 0, bytearray(), 258, 9
for index, code in enumerate(codes):
    bits |= code << nbits
    nbits += code_size
    while nbits >= 8:
        data.append(bits & 0xFF)
        bits >>= 8
        nbits -= 8
    if index >= 2 and next_code < 4096:  # the decoder adds an entry after every code
        next_code += 1
        if next_code == 1 << code_size and code_size < 12:
            code_size += 1
if nbits:
    data.append(bits & 0xFF)
gif = b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF7, 0, 0) + bytes(3 * 256)
gif += b"," + struct.pack("<HHHHB", 0, 0, width, height, 0) + b"\x08"
for i in range(0, len(data), 255):
    gif += bytes([len(data[i:i + 255])]) + data[i:i + 255]
open(f"{out}/one-colour-16000.gif", "wb").write(gif + b"\x00;")
EOF

printf '%-32s %10s %6s %10s %10s\n' input size_KiB exit seconds peak_MiB
for picture in sample.jpg motion-photo.jpg photo-12000x8400.jpg photo-12000x8400.png \
               progressive-4000x2800.jpg sample.gif sample.bmp \
               truncated.gif no-trailer.gif truncated.bmp truncated.jpg truncated-with-eoi.jpg \
               claims-16000-over-16x16.jpg claims-16000-4k.bmp claims-12000x8400.png \
               one-colour-16000.gif; do
  rm -rf "$work/out"; mkdir -p "$work/out"
  status=0
  /usr/bin/time -v -o "$work/time" "$deskleaf" render --folder "$work/out" \
    --picture "$in/$picture" --size 1920x1080 --today 2026-03-05 >/dev/null 2>"$work/err" || status=$?
  kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$work/time")
  awk -v p="$picture" -v size="$(stat -c %s "$in/$picture")" -v s="$status" -v w="$wall" -v k="$kib" 'BEGIN {
    n = split(w, t, ":"); secs = (n == 3) ? t[1] * 3600 + t[2] * 60 + t[3] : t[1] * 60 + t[2]
    printf "%-32s %10.0f %6d %10.2f %10.1f\n", p, size / 1024, s, secs, k / 1024 }'
  [ -z "${VERBOSE:-}" ] || sed 's/^/    /' "$work/err"
done
