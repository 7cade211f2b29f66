#!/usr/bin/env bash
# Draws the images of the default skin into data/skin/Tide/ and packs them
# with data/skin/Tide/record.txt into data/Skin/Tide.ims with our own tidetool.
# Needs ImageMagick, the WenQuanYi Micro Hei font and a native build
# (scripts/bootstrap and `cmake --build --preset native` provide them).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$here/Tide"
font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')
accent='rgb(0,120,215)'
light='rgb(207,229,239)'
mkdir -p "$out"
cd "$out"

# Status bar: 122 x 22, six 20 x 20 places from x = 1 in steps of 20.
convert -size 122x22 xc:none -fill "$accent" -draw 'roundrectangle 0,0 121,21 5,5' \
    -fill 'rgba(255,255,255,0.15)' -draw 'roundrectangle 1,1 120,10 4,4' PNG32:Status.png
button() { # name text [pointsize]
    convert -size 20x20 xc:none -fill 'rgba(255,255,255,0.18)' -draw 'roundrectangle 1,1 18,18 4,4' \
        -font "$font" -pointsize "${3:-13}" -fill white -gravity center -annotate +0+0 "$2" "PNG32:$1"
}
convert -size 20x20 xc:none -fill white -draw 'circle 10,10 10,1' -font "$font" -pointsize 13 \
    -fill "$accent" -gravity center -annotate +0+0 '潮' PNG32:Logo.png
button ChineseButton.png '中'
button EnglishButton.png '英'
button CapsLockButton.png 'A'
button FullShapeButton.png '全'
button HalfShapeButton.png '半'
button CSymbolButton.png '。'
button ESymbolButton.png '.'
convert -size 20x20 xc:none -fill 'rgba(255,255,255,0.18)' -draw 'roundrectangle 1,1 18,18 4,4' \
    -fill none -stroke white -draw 'roundrectangle 4,6 15,14 1,1' \
    -draw 'line 6,9 13,9' -draw 'line 6,12 13,12' PNG32:SoftkbButton.png
convert -size 20x20 xc:none -fill 'rgba(255,255,255,0.18)' -draw 'roundrectangle 1,1 18,18 4,4' \
    -stroke white -strokewidth 1.5 -draw 'line 5,6 14,6' -draw 'line 5,10 14,10' -draw 'line 5,14 14,14' \
    PNG32:ConfigButton.png

# Candidate backgrounds: white with an accent frame; 6-pixel edges are never scaled.
convert -size 300x64 xc:none -fill white -stroke "$accent" -strokewidth 1 \
    -draw 'roundrectangle 0,0 299,63 6,6' -stroke none -fill "$light" -draw 'rectangle 1,1 298,3' \
    PNG32:HorzCand.png
convert -size 160x220 xc:none -fill white -stroke "$accent" -strokewidth 1 \
    -draw 'roundrectangle 0,0 159,219 6,6' -stroke none -fill "$light" -draw 'rectangle 1,1 158,3' \
    PNG32:VertCand.png

# Page buttons, 12 x 12.
arrow() { # name polygon
    convert -size 12x12 xc:none -fill "$accent" -draw "polygon $2" "PNG32:$1"
}
arrow HPrevPage.png '8,2 3,6 8,10'
arrow HNextPage.png '4,2 9,6 4,10'
convert -size 12x12 xc:none -fill "$accent" -draw 'polygon 9,2 4,6 9,10' -draw 'rectangle 2,2 3,10' PNG32:HHomePage.png
convert -size 12x12 xc:none -fill "$accent" -draw 'polygon 3,2 8,6 3,10' -draw 'rectangle 8,2 9,10' PNG32:HEndPage.png
arrow VPrevPage.png '2,8 6,3 10,8'
arrow VNextPage.png '2,4 6,9 10,4'
convert -size 12x12 xc:none -fill "$accent" -draw 'polygon 2,9 6,4 10,9' -draw 'rectangle 2,2 10,3' PNG32:VHomePage.png
convert -size 12x12 xc:none -fill "$accent" -draw 'polygon 2,3 6,8 10,3' -draw 'rectangle 2,8 10,9' PNG32:VEndPage.png

# The preview: the three bars as the record places them, with sample text.
convert -size 320x480 xc:'rgb(245,248,250)' \
    Status.png -geometry +1+1 -composite \
    Logo.png -geometry +2+2 -composite ChineseButton.png -geometry +22+2 -composite \
    HalfShapeButton.png -geometry +42+2 -composite CSymbolButton.png -geometry +62+2 -composite \
    SoftkbButton.png -geometry +82+2 -composite ConfigButton.png -geometry +102+2 -composite \
    HorzCand.png -geometry +1+100 -composite \
    -font "$font" -pointsize 14 -fill 'rgb(109,109,109)' -annotate +10+122 'ccyi' \
    -fill "$accent" -annotate +10+150 '1.潮汐' -fill black -annotate +60+150 '2.潮流  3.潮湿  4.汐' \
    HPrevPage.png -geometry +270+110 -composite HNextPage.png -geometry +284+110 -composite \
    VertCand.png -geometry +1+250 -composite \
    -fill 'rgb(109,109,109)' -annotate +10+272 'ccyi' -fill "$accent" -annotate +10+300 '1.潮汐' \
    -fill black -annotate +10+326 '2.潮流' -annotate +10+352 '3.潮湿' -annotate +10+378 '4.汐' \
    VPrevPage.png -geometry +140+258 -composite VNextPage.png -geometry +140+450 -composite \
    -fill "$accent" -pointsize 16 -annotate +140+40 '潮汐默认皮肤' \
    -fill 'rgb(80,80,80)' -pointsize 12 -annotate +140+60 '版本 1.0' -annotate +140+78 '潮汐输入法' \
    PNG32:Preview.png

# No dates or other metadata: the same drawing gives the same bytes.
mogrify -strip -define png:exclude-chunks=date,time ./*.png

tidetool="${TIDETOOL:-$root/build/native/bin/tidetool}"
"$tidetool" skin pack "$out" "$root/data/Skin/Tide.ims"
"$tidetool" skin info "$root/data/Skin/Tide.ims"
