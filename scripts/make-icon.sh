#!/usr/bin/env bash
# Draws the program icon (a blue box with a zip band and a white "L") at every size from 16 to 256
# and writes resources/lumarek.ico. Run again after changing the drawing; the .ico is committed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
convert=/usr/bin/convert # /usr/local/bin may hold a stand-in of the same name
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sizes=(16 24 32 48 64 128 256)
for s in "${sizes[@]}"; do
  r=$((s / 8 > 1 ? s / 8 : 1))
  m=$((s / 16))
  band_x=$((s * 5 / 8))
  band_w=$((s / 8 > 1 ? s / 8 : 1))
  stroke=$((s / 7 > 1 ? s / 7 : 2))
  lx=$((s * 3 / 16 + 1)); ly=$((s / 5)); lb=$((s * 4 / 5)); lr=$((s * 9 / 16))
  "$convert" -size "${s}x${s}" xc:none \
    -fill '#1f5fa8' -draw "roundrectangle $m,$m $((s - 1 - m)),$((s - 1 - m)) $r,$r" \
    -fill '#f4c542' -draw "rectangle $band_x,$m $((band_x + band_w)),$((s - 1 - m))" \
    -fill white -draw "rectangle $lx,$ly $((lx + stroke - 1)),$lb" \
    -draw "rectangle $lx,$((lb - stroke + 1)) $lr,$lb" \
    "PNG32:$work/icon-$s.png"
done
"$convert" $(for s in "${sizes[@]}"; do printf '%s ' "$work/icon-$s.png"; done) "$root/resources/lumarek.ico"
echo "$root/resources/lumarek.ico"
