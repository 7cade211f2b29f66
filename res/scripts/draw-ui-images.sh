#!/usr/bin/env bash
# Draws the program's own images (res/images): the close button (PNG 258
# normal, 259 hovered), the launcher images (PNG 260-266, 48 x 48) and the
# 16 x 16 "主页" icon (icon 257). Needs ImageMagick and WenQuanYi Micro Hei.
set -euo pipefail
res=$(cd "$(dirname "$0")/.." && pwd)
out="$res/images"
font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')
accent='rgb(0,120,215)'
mkdir -p "$out"
cd "$out"

# Close button, drawn at 62 x 48 and shown at 31 x 24.
convert -size 62x48 xc:none -stroke 'rgb(90,90,90)' -strokewidth 3 \
    -draw 'line 24,17 38,31' -draw 'line 38,17 24,31' PNG32:close-normal.png
convert -size 62x48 xc:'rgb(232,17,35)' -stroke white -strokewidth 3 \
    -draw 'line 24,17 38,31' -draw 'line 38,17 24,31' PNG32:close-hover.png

# Launcher images: a rounded tile in the accent colour with one character.
tile() { # file character
    convert -size 48x48 xc:none -fill "$accent" -draw 'roundrectangle 0,0 47,47 10,10' \
        -font "$font" -pointsize 28 -fill white -gravity center -annotate +0+0 "$2" "PNG32:$1"
}
tile option-config.png '设'
tile option-system-dict.png '库'
tile option-user-dict.png '词'
tile option-custom-entry.png '造'
tile option-skin.png '肤'
tile option-update.png '新'
tile option-about.png '关'

# The "主页" icon: a small house.
convert -size 16x16 xc:none -fill "$accent" -draw 'polygon 8,1 15,8 13,8 13,15 3,15 3,8 1,8' \
    -fill white -draw 'rectangle 7,10 9,15' PNG32:home-16.png
convert home-16.png icon-home.ico
# Icons of the About tool: "确定" (a check), "关于" (an i), "支持我们" (a heart).
convert -size 16x16 xc:none -stroke "$accent" -strokewidth 2 -fill none \
    -draw 'polyline 3,8 7,12 13,4' PNG32:ok-16.png
convert -size 16x16 xc:none -fill "$accent" -draw 'circle 8,8 8,1' -fill white \
    -draw 'rectangle 7,7 9,12' -draw 'rectangle 7,4 9,5' PNG32:info-16.png
convert -size 16x16 xc:none -fill 'rgb(232,17,35)' -draw 'circle 5,6 5,3' -draw 'circle 11,6 11,3' \
    -draw 'polygon 2,7 14,7 8,14' PNG32:heart-16.png
convert ok-16.png icon-ok.ico
convert info-16.png icon-info.ico
convert heart-16.png icon-heart.ico

# The support picture (PNG 257): a thank-you card in place of a payment code.
convert -size 140x124 xc:white -stroke "$accent" -strokewidth 2 -fill none \
    -draw 'roundrectangle 2,2 137,121 10,10' -stroke none -fill 'rgb(232,17,35)' \
    -draw 'circle 56,44 56,30' -draw 'circle 84,44 84,30' -draw 'polygon 43,50 97,50 70,80' \
    -font "$font" -pointsize 15 -fill "$accent" -gravity south -annotate +0+12 '谢谢您的支持' \
    PNG32:support.png
mogrify -strip -define png:exclude-chunks=date,time ./*.png
echo "drew the images in $out"
