#!/usr/bin/env bash
# Draws the position bar's pictures with ImageMagick. The pictures are kept in the repository;
# run this again only to change them.
#   position-back.png    the dark groove, stretched over the whole bar
#   position-handle.png  the knob on black (black adds nothing when the handle is ORed in)
#   position-mask.png    white around the knob, black under it (the mask is ANDed in first)
set -euo pipefail
cd "$(dirname "$0")"
strip=(-strip -define png:exclude-chunks=date,time)

convert -size 64x14 xc:'#2b3038' \
  -fill '#1f2329' -draw 'rectangle 0,3 63,10' \
  -fill '#181b20' -draw 'rectangle 0,5 63,8' \
  -fill '#3a404a' -draw 'line 0,0 63,0' -draw 'line 0,13 63,13' \
  "${strip[@]}" PNG24:position-back.png

convert -size 13x13 xc:black +antialias \
  -fill '#2a5592' -draw 'circle 6,6 6,0' \
  -fill '#3d6fb6' -draw 'circle 6,6 6,2' \
  -fill '#9cc0ee' -draw 'point 5,4 point 4,5 point 5,5' \
  "${strip[@]}" PNG24:position-handle.png

convert -size 13x13 xc:white +antialias \
  -fill black -draw 'circle 6,6 6,0' \
  "${strip[@]}" PNG24:position-mask.png
