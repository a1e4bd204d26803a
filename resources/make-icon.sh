#!/usr/bin/env bash
# Draws the program icon (resources/config.ico): a converter housing with a
# display showing a rising, linearized curve and its two terminals.
# Needs ImageMagick. Run from anywhere; writes next to this script.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#1F4E79' -draw 'roundrectangle 16,24 240,240 36,36' \
  -fill '#F2F2F2' -draw 'roundrectangle 44,52 212,156 12,12' \
  -stroke '#E8A317' -strokewidth 18 -fill none \
  -draw 'polyline 64,136 100,120 128,96 156,86 192,70' \
  -stroke none -fill '#1F4E79' -draw 'circle 78,138 78,128' \
  -fill '#C8D6E5' -draw 'circle 84,200 84,180' -draw 'circle 172,200 172,180' \
  -fill '#1F4E79' -draw 'rectangle 78,194 90,206' -draw 'rectangle 166,194 178,206' \
  "$tmp/icon-256.png"
for s in 16 32 48; do
  convert "$tmp/icon-256.png" -resize ${s}x${s} "$tmp/icon-$s.png"
done
convert "$tmp/icon-16.png" "$tmp/icon-32.png" "$tmp/icon-48.png" "$here/config.ico"
