#!/usr/bin/env bash
# Draws the program's own images (res/images): the close button (PNG 258
# normal, 259 hovered), the launcher images (PNG 260-266, 48 x 48, and the
# same drawn at 96 x 96 as PNG 516-522 for screens above 96 DPI), the icons
# 257-280 (16 x 16, with 20, 24 and 32 pixel frames for 125, 150 and 200 %)
# and the soft keyboard (PNG 267). Needs ImageMagick, WenQuanYi Micro Hei and
# Liberation Sans.
set -euo pipefail
res=$(cd "$(dirname "$0")/.." && pwd)
out="$res/images"
font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')
liberation=$(fc-match -f '%{file}' 'Liberation Sans')
bold=$(fc-match -f '%{file}' 'Liberation Sans:bold')
accent='rgb(0,120,215)'
mkdir -p "$out"
cd "$out"

# Close button, drawn at 62 x 48 and shown at 31 x 24.
convert -size 62x48 xc:none -stroke 'rgb(90,90,90)' -strokewidth 3 \
    -draw 'line 24,17 38,31' -draw 'line 38,17 24,31' PNG32:close-normal.png
convert -size 62x48 xc:'rgb(232,17,35)' -stroke white -strokewidth 3 \
    -draw 'line 24,17 38,31' -draw 'line 38,17 24,31' PNG32:close-hover.png

# Launcher images: a rounded tile in the accent colour with one character,
# at 48 pixels and, for larger screens, at 96 ("-2x").
tile() { # name character
    convert -size 48x48 xc:none -fill "$accent" -draw 'roundrectangle 0,0 47,47 10,10' \
        -font "$font" -pointsize 28 -fill white -gravity center -annotate +0+0 "$2" "PNG32:$1.png"
    convert -size 96x96 xc:none -fill "$accent" -draw 'roundrectangle 0,0 95,95 20,20' \
        -font "$font" -pointsize 56 -fill white -gravity center -annotate +0+0 "$2" "PNG32:$1-2x.png"
}
tile option-config '设'
tile option-system-dict '库'
tile option-user-dict '词'
tile option-custom-entry '造'
tile option-skin '肤'
tile option-update '新'
tile option-about '关'

# The icons are drawn in 16-pixel coordinates and rendered at each size the
# .ico holds, so a larger frame is drawn for its size, not magnified.
icon_sizes=(16 20 24 32)
# Sets `scaled` to the ImageMagick arguments given, their geometry (draw
# primitives, stroke widths, point sizes) multiplied by size/16. Scaled
# strokes join round: ImageMagick 6 fills open polylines with mitred joins
# at some stroke widths (2 and 3 among them).
scale_arguments() { # size arguments...
    local size=$1 previous=''
    shift
    scaled=()
    for argument in "$@"; do
        case $previous in
        -draw)
            argument=$(awk -v f="$size" 'BEGIN { f /= 16 } {
                out = (f == 1 ? "" : "stroke-linejoin round ") $1
                for (i = 2; i <= NF; ++i) {
                    if ($1 == "arc" && i == 4) { out = out " " $i; continue } # angles
                    n = split($i, xy, ",")
                    token = ""
                    for (j = 1; j <= n; ++j) token = token (j > 1 ? "," : "") sprintf("%g", xy[j] * f)
                    out = out " " token
                }
                print out }' <<<"$argument")
            ;;
        -strokewidth | -pointsize)
            argument=$(awk -v f="$size" -v n="$argument" 'BEGIN { printf "%g", n * f / 16 }')
            ;;
        esac
        scaled+=("$argument")
        previous=$argument
    done
}
# Renders an icon drawing at every size into FILE.ico (and its 16-pixel frame into NAME-16.png).
draw_icon() { # file name draw-arguments...
    local file=$1 name=$2 frames=()
    shift 2
    local frames_dir
    frames_dir=$(mktemp -d)
    for size in "${icon_sizes[@]}"; do
        scale_arguments "$size" "$@"
        convert -size "${size}x${size}" xc:none "${scaled[@]}" "PNG32:$frames_dir/$size.png"
        frames+=("$frames_dir/$size.png")
    done
    cp "$frames_dir/16.png" "$name-16.png"
    convert "${frames[@]}" "$file.ico"
    rm -rf "$frames_dir"
}

# The "主页" icon: a small house.
draw_icon icon-home home -fill "$accent" -draw 'polygon 8,1 15,8 13,8 13,15 3,15 3,8 1,8' \
    -fill white -draw 'rectangle 7,10 9,15'
# Icons of the About tool: "确定" (a check), "关于" (an i), "支持我们" (a heart).
draw_icon icon-ok ok -stroke "$accent" -strokewidth 2 -fill none -draw 'polyline 3,8 7,12 13,4'
draw_icon icon-info info -fill "$accent" -draw 'circle 8,8 8,1' -fill white \
    -draw 'rectangle 7,7 9,12' -draw 'rectangle 7,4 9,5'
draw_icon icon-heart heart -fill 'rgb(232,17,35)' -draw 'circle 5,6 5,3' -draw 'circle 11,6 11,3' \
    -draw 'polygon 2,7 14,7 8,14'

# Icons of the tools' navigation columns (261-280), one 16 x 16 drawing each,
# in the accent colour (removal in red).
icon() { # id name draw-arguments...
    local id=$1 name=$2
    shift 2
    draw_icon "icon-$id-$name" "$name" -fill none -stroke "$accent" -strokewidth 1.5 "$@"
}
red='rgb(232,17,35)'
icon 261 import -draw 'polyline 2,10 2,14 14,14 14,10' -draw 'line 8,1 8,10' -draw 'polyline 4.5,6.5 8,10 11.5,6.5'
icon 262 export -draw 'polyline 2,10 2,14 14,14 14,10' -draw 'line 8,11 8,2' -draw 'polyline 4.5,5.5 8,2 11.5,5.5'
icon 263 add -strokewidth 2 -draw 'line 8,2 8,14' -draw 'line 2,8 14,8'
icon 264 help -stroke none -fill "$accent" -draw 'circle 8,8 8,1' -fill white -font "$bold" -pointsize 12 \
    -gravity center -annotate +0+0 '?'
icon 265 clear -draw 'arc 2,2 14,14 -60,240' -stroke none -fill "$accent" -draw 'polygon 10,1 15,4 10,6'
icon 266 general -strokewidth 2 -draw 'circle 8,8 8,4' -strokewidth 2.5 \
    -draw 'line 8,1 8,3' -draw 'line 8,13 8,15' -draw 'line 1,8 3,8' -draw 'line 13,8 15,8' \
    -draw 'line 3,3 4.5,4.5' -draw 'line 11.5,11.5 13,13' -draw 'line 3,13 4.5,11.5' -draw 'line 11.5,4.5 13,3'
icon 267 interface -draw 'rectangle 1.5,2.5 14.5,13.5' -stroke none -fill "$accent" -draw 'rectangle 1,2 15,5'
icon 268 keys -draw 'roundrectangle 1.5,3.5 14.5,12.5 2,2' -stroke none -fill "$accent" \
    -draw 'rectangle 4,6 5,7' -draw 'rectangle 7,6 8,7' -draw 'rectangle 10,6 11,7' -draw 'rectangle 5,9 10,10'
icon 269 softkeys -strokewidth 1.5 -draw 'rectangle 1.5,1.5 6.5,6.5' -draw 'rectangle 9.5,1.5 14.5,6.5' \
    -draw 'rectangle 1.5,9.5 6.5,14.5' -draw 'rectangle 9.5,9.5 14.5,14.5'
icon 270 skin -draw 'circle 8,8 8,1.5' -stroke none -fill "$accent" -draw 'circle 5,6 5,4.7' \
    -fill "$red" -draw 'circle 10,5 10,3.7' -fill 'rgb(16,137,62)' -draw 'circle 11,10 11,8.7'
icon 271 advanced -draw 'line 1,4 15,4' -draw 'line 1,12 15,12' -stroke none -fill "$accent" \
    -draw 'rectangle 9,2 12,6' -draw 'rectangle 3,10 6,14'
icon 272 defaults -draw 'arc 3,3 14,14 180,450' -stroke none -fill "$accent" -draw 'polygon 0,7 6,7 3,11'
icon 273 backup -draw 'rectangle 1.5,1.5 14.5,14.5' -stroke none -fill "$accent" -draw 'rectangle 4,2 11,6' \
    -draw 'rectangle 4,10 12,14'
icon 274 restore -draw 'arc 2,2 14,14 200,520' -draw 'polyline 8,4.5 8,8 10.5,10' \
    -stroke none -fill "$accent" -draw 'polygon 0,5 5,5 2.5,9'
icon 275 apply -draw 'rectangle 1.5,1.5 14.5,14.5' -strokewidth 2 -draw 'polyline 4,8 7,11 12,5'
icon 276 open -draw 'polyline 1.5,13.5 1.5,2.5 6,2.5 7.5,4.5 14.5,4.5 14.5,13.5 1.5,13.5'
icon 277 next -strokewidth 2 -draw 'line 2,8 13,8' -draw 'polyline 9,4 13,8 9,12'
icon 278 remove -stroke "$red" -strokewidth 2 -draw 'line 3,3 13,13' -draw 'line 13,3 3,13'
icon 279 exit -draw 'polyline 9,4 9,1.5 1.5,1.5 1.5,14.5 9,14.5 9,12' -strokewidth 2 -draw 'line 5,8 14,8' \
    -draw 'polyline 11,5 14,8 11,11'
icon 280 update -draw 'circle 8,8 8,1.5' -strokewidth 2 -draw 'line 8,4 8,11' -draw 'polyline 5,8 8,11 11,8'

# The soft keyboard (PNG 267, 476 x 158): five rows of 29-pixel caps on a
# 31-pixel pitch. The character keys' caps stand exactly where the settings
# page hit-tests them; their labels are drawn by the page, so they stay blank.
# The other keys are labelled here and are not clickable.
keyboard=(-size 476x158 xc:'rgb(236,238,241)' -stroke 'rgb(160,166,175)' -strokewidth 1 -fill white)
cap() { # x y width [label]
    keyboard+=(-draw "roundrectangle $(( $1 + 2 )),$(( $2 + 2 )) $(( $1 + 2 + $3 - 1 )),$(( $2 + 30 )) 3,3")
    if [ -n "${4:-}" ]; then
        labels+=(-annotate "+$(( $1 + 6 ))+$(( $2 + 19 ))" "$4")
    fi
}
labels=()
row0=(0 31 62 93 124 155 186 217 248 279 310 341 372)
row1=(70 101 132 163 194 225 256 287 318 349 380 411 442)
row2=(62 93 124 155 186 217 248 279 310 341 372)
row3=(83 114 145 176 207 238 269 300 331 362)
for x in "${row0[@]}"; do cap "$x" 0 29; done
cap 403 0 71 Backspace
cap 0 31 68 Tab
for x in "${row1[@]}"; do cap "$x" 31 29; done
cap 0 62 60 CapsLock
for x in "${row2[@]}"; do cap "$x" 62 29; done
cap 403 62 71 Enter
cap 0 93 81 Shift
for x in "${row3[@]}"; do cap "$x" 93 29; done
cap 393 93 81 Shift
cap 0 124 60 Esc
cap 62 124 60 Insert
cap 124 124 288 ''
cap 414 124 60 Delete
convert "${keyboard[@]}" -stroke none -fill 'rgb(110,116,125)' -font "$liberation" -pointsize 10 \
    "${labels[@]}" PNG32:keyboard.png

# The support picture (PNG 257): a thank-you card in place of a payment code.
convert -size 140x124 xc:white -stroke "$accent" -strokewidth 2 -fill none \
    -draw 'roundrectangle 2,2 137,121 10,10' -stroke none -fill 'rgb(232,17,35)' \
    -draw 'circle 56,44 56,30' -draw 'circle 84,44 84,30' -draw 'polygon 43,50 97,50 70,80' \
    -font "$font" -pointsize 15 -fill "$accent" -gravity south -annotate +0+12 '谢谢您的支持' \
    PNG32:support.png
mogrify -strip -define png:exclude-chunks=date,time ./*.png
echo "drew the images in $out"
