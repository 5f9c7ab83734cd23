#!/bin/sh
# Renders every icon at 16, 24 and 64 px and the pictures at full size into
# ../preview, then builds contact sheets. Viewing aid only (needs rsvg-convert).
set -e
cd "$(dirname "$0")/.."
mkdir -p preview/icons
for f in icons/*.svg; do
  n=$(basename "$f" .svg)
  rsvg-convert -w 24 -h 24 "$f" -o "preview/icons/${n}_24.png"
  rsvg-convert -w 64 -h 64 "$f" -o "preview/icons/${n}_64.png"
done
for f in $(ls pictures/*.svg 2>/dev/null); do
  rsvg-convert "$f" -o "preview/$(basename "$f" .svg).png"
done
python3 tools/contact_sheet.py > preview/contact_sheet.svg
rsvg-convert preview/contact_sheet.svg -o preview/contact_sheet.png
python3 tools/contact_sheet.py zoom > preview/contact_sheet_zoom.svg
rsvg-convert preview/contact_sheet_zoom.svg -o preview/contact_sheet_zoom.png
echo done
python3 tools/pixel_sheet.py > preview/pixels_24.svg
rsvg-convert preview/pixels_24.svg -o preview/pixels_24.png
