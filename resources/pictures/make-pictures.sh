#!/usr/bin/env bash
# Draws the position bar's pictures with ImageMagick. The pictures are kept in the repository;
# run this again only to change them.
#   position-back.png    the groove, stretched over the whole bar
#   position-handle.png  the knob on black (black adds nothing when the handle is ORed in)
#   position-mask.png    white around the knob, black under it (the mask is ANDed in first)
set -euo pipefail
cd "$(dirname "$0")"
strip=(-strip -define png:exclude-chunks=date,time)

convert -size 64x14 xc:'#c9ccd1' \
  -fill '#eef0f3' -draw 'rectangle 0,1 63,12' \
  -fill '#dfe2e7' -draw 'rectangle 0,4 63,9' \
  -fill '#a9adb4' -draw 'line 0,0 63,0' -draw 'line 0,13 63,13' \
  "${strip[@]}" PNG24:position-back.png

convert -size 13x13 xc:black +antialias \
  -fill '#2b5fa8' -draw 'circle 6,6 6,0' \
  -fill '#5b8fd8' -draw 'circle 6,6 6,2' \
  -fill '#b9d3f5' -draw 'point 5,4 point 4,5 point 5,5' \
  "${strip[@]}" PNG24:position-handle.png

convert -size 13x13 xc:white +antialias \
  -fill black -draw 'circle 6,6 6,0' \
  "${strip[@]}" PNG24:position-mask.png
