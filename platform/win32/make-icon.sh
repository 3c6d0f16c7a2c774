#!/usr/bin/env bash
# Renders the program's artwork (platform/qt/data/velnorka.svg, shared with
# the Linux program) into platform/win32/velnorka.ico at the sizes Windows
# asks for. Needs rsvg-convert (librsvg2-bin), ImageMagick and python3. The output
# depends only on the SVG, so running it again gives the same bytes.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
svg=${1:-$here/../qt/data/velnorka.svg}
ico=${2:-$here/velnorka.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

pngs=()
for size in 16 20 24 32 40 48 64 256; do
  rsvg-convert --width "$size" --height "$size" --output "$work/$size.png" "$svg"
  pngs+=("$work/$size.png")
done
# Every size as PNG (which Windows reads in icons since Vista): a fifth of
# the bitmaps' bytes in velnorka.exe. Without time stamps, so that the file
# only changes with the artwork.
for png in "${pngs[@]}"; do
  convert "$png" -strip -define png:exclude-chunks=date,time -define png:color-type=6 "$png"
done
python3 - "$ico" "${pngs[@]}" <<'PY'
import struct, sys
output, pngs = sys.argv[1], sys.argv[2:]
images = [open(path, "rb").read() for path in pngs]
header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries = b""
for image in images:
    width, height = struct.unpack(">II", image[16:24])
    entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), offset)
    offset += len(image)
open(output, "wb").write(header + entries + b"".join(images))
PY
