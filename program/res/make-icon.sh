#!/usr/bin/env bash
# Regenerates Tessaly.ico: a white "#" on a rounded blue tile, at 48, 32 and 16 pixels.
# Needs ImageMagick's convert.
set -euo pipefail
out=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/Tessaly.ico
convert -size 256x256 xc:none \
  -fill '#1f5fa8' -draw 'roundrectangle 8,8 247,247 40,40' \
  -fill white \
  -draw 'polygon 92,40 124,40 108,216 76,216' \
  -draw 'polygon 156,40 188,40 172,216 140,216' \
  -draw 'rectangle 44,84 212,112' \
  -draw 'rectangle 44,144 212,172' \
  -define icon:auto-resize=48,32,16 "$out"
