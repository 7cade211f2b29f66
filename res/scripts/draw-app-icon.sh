#!/usr/bin/env bash
# Draws the application icon (res/icons/app.ico): the character 潮 in white on
# the program's accent blue, at 16, 24, 32, 48 and 256 pixels.
# Needs ImageMagick and the WenQuanYi Zen Hei font (scripts/bootstrap installs both).
set -euo pipefail
res=$(cd "$(dirname "$0")/.." && pwd)
font=$(fc-match -f '%{file}' 'WenQuanYi Zen Hei')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48 256; do
    radius=$((size / 6))
    convert -size "${size}x${size}" xc:none \
        -fill 'rgb(0,120,215)' -draw "roundrectangle 0,0 $((size - 1)),$((size - 1)) $radius,$radius" \
        -font "$font" -pointsize $((size * 3 / 4)) -fill white -gravity center \
        -annotate +0+0 '潮' "PNG32:$work/$size.png"
done
convert "$work/16.png" "$work/24.png" "$work/32.png" "$work/48.png" "$work/256.png" "$res/icons/app.ico"
echo "wrote $res/icons/app.ico"
