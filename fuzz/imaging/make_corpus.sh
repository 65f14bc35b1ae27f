#!/usr/bin/env bash
# Writes the small seed corpora of the imaging harnesses (run once; the files are kept in git).
#   corpus_cut/      four rectangle numbers + an uncompressed BMP of 8, 16, 24 and 32 bits
#   corpus_convert/  a control byte + a tiny BMP, PNG, JPEG, GIF (two frames) and TIFF
set -euo pipefail
cd "$(dirname "$0")"
mkdir -p corpus_cut corpus_convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import struct, sys
work = sys.argv[1]
def bmp(width, height, bits):
    stride = ((width * bits + 31) >> 5) << 2
    offset = 1078 if bits == 8 else 54
    pixels = bytes((x * 7 + y * 13) & 0xFF for y in range(height) for x in range(stride))
    palette = bytes(i // 4 if i % 4 != 3 else 0 for i in range(1024)) if bits == 8 else b""
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, 0, 0)
    return header + info + palette + pixels
for bits in (8, 16, 24, 32):
    data = bmp(7, 5, bits)
    open(f"{work}/b{bits}.bmp", "wb").write(data)
    rect = struct.pack("<hhhh", 1, 1, 4, 3)
    open(f"corpus_cut/bmp{bits}", "wb").write(rect + data)
PY

convert=/usr/bin/convert
"$convert" -size 6x4 gradient:red-blue "$work/p.png"
"$convert" -size 16x8 plasma:fractal -seed 1 -quality 80 "$work/j.jpg"
"$convert" -delay 10 -size 5x3 xc:red xc:green -loop 0 "$work/a.gif"
"$convert" -size 4x4 gradient: -compress none "$work/t.tif"
"$convert" -size 4x4 xc:'rgba(255,0,0,0.5)' "$work/alpha.png"
seed() { printf "\\x$(printf %02x "$1")" > "corpus_convert/$2"; cat "$3" >> "corpus_convert/$2"; }
seed 1 bmp24_to_bmp "$work/b24.bmp"
seed 5 bmp8_to_png "$work/b8.bmp"
seed 17 png_to_bmp "$work/p.png"
seed 9 alpha_png_flat_to_bmp "$work/alpha.png"
seed 2 jpeg_to_jpeg "$work/j.jpg"
seed 1 jpeg_to_bmp "$work/j.jpg"
seed 19 gif_to_gif "$work/a.gif"
seed 4 tiff_to_tiff "$work/t.tif"
seed 3 png_to_gif "$work/p.png"
