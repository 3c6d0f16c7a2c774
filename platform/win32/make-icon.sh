#!/usr/bin/env bash
# Renders the program's artwork (platform/qt/data/velnorka.svg, shared with
# the Linux program) into platform/win32/velnorka.ico at the sizes Windows
# asks for. Needs rsvg-convert (librsvg2-bin) and ImageMagick. The output
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
# No time stamps in the file, so that it only changes with the artwork.
convert "${pngs[@]}" -define png:exclude-chunks=date,time +set date:create +set date:modify "$ico"
