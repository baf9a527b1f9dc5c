#!/usr/bin/env bash
# Draws the program's picture, resources/meshloom.png: a small network of five nodes joined
# by links, 100 by 100 pixels in a palette of at most 256 colours; and the desktop icon
# resources/meshloom-128.png scaled from it. Both are committed; run this again (needs
# ImageMagick) only to change them.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="$ROOT/resources/meshloom.png"

# Node centres, and the links between them as pairs of node numbers.
nodes=("22,24" "76,18" "50,52" "18,80" "82,78")
links=("1 2" "1 3" "2 3" "3 4" "3 5" "4 5" "2 5")

draw=()
for link in "${links[@]}"; do
    read -r a b <<<"$link"
    draw+=(-draw "line ${nodes[a - 1]} ${nodes[b - 1]}")
done
nodedraw=()
for centre in "${nodes[@]}"; do
    x=${centre%,*}
    y=${centre#*,}
    nodedraw+=(-draw "circle $x,$y $((x + 8)),$y")
done

convert -size 100x100 xc:'#000080' \
    -fill none -stroke '#00ffff' -strokewidth 4 "${draw[@]}" \
    -fill '#ffff00' -stroke '#ffffff' -strokewidth 2 "${nodedraw[@]}" \
    -fill none -stroke '#ff00ff' -strokewidth 2 -draw "rectangle 1,1 98,98" \
    -strip -define png:exclude-chunks=date,time -colors 256 "PNG8:$OUT"
echo "Wrote $OUT"

# The desktop's icon (hicolor 128x128), scaled from the same picture.
ICON="$ROOT/resources/meshloom-128.png"
convert "$OUT" -resize 128x128 -strip -define png:exclude-chunks=date,time "$ICON"
echo "Wrote $ICON"
