#!/usr/bin/env bash
# Regenerates ui/banner.bmp (the About box's banner) and ui/pellavo.ico. Both are
# committed, so a build needs no image tools; run this only to change the artwork.
set -euo pipefail
cd "$(dirname "$0")/.."

fonts=/usr/share/fonts/truetype/dejavu
missing=()
command -v convert >/dev/null || missing+=(imagemagick)
[ -e "$fonts/DejaVuSans-Bold.ttf" ] || missing+=(fonts-dejavu-core)
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ink='#34506f'
sky='#bfe0f7'
sun='#f4c23d'
far_hill='#86bf6a'
near_hill='#4f9a55'
arrow='#e8702a'

# The About box's static control shows the bitmap at its own size, and the
# bitmap resource must stay a plain 24-bit BI_RGB DIB: no alpha, no compression.
convert -size 275x106 xc: \
    -sparse-color barycentric '0,0 #fbf8f1 275,0 #e4eef8 0,106 #f2ebdd 275,106 #d8e6f3' \
    -draw "
        fill none stroke '#8aa3bd' stroke-width 1 stroke-dasharray 4,3
        rectangle 16,12 106,94
        stroke none fill '${ink}20' rectangle 19,15 73,62
        fill '$ink' rectangle 16,12 70,59
        fill '$sky' rectangle 19,15 67,56
        fill '$sun' circle 53,26 53,31.5
        fill '$far_hill' polygon 19,44 30,32 45,56 19,56
        fill '$near_hill' polygon 28,56 47,36 67,49 67,56
        stroke white stroke-width 3 stroke-linejoin miter fill white
        polygon 103,91 103,73 97,79 75,57 69,63 91,85 85,91
        stroke none fill '$arrow'
        polygon 103,91 103,73 97,79 75,57 69,63 91,85 85,91
    " \
    -font "$fonts/DejaVuSans-Bold.ttf" -pointsize 34 -fill "$ink" -annotate +122+55 'Pellavo' \
    -fill "$arrow" -draw 'rectangle 124,64 160,66' \
    -font "$fonts/DejaVuSans.ttf" -pointsize 10 -fill '#5b6f86' -annotate +124+84 '800×600   1024×768' \
    -alpha off -type TrueColor BMP3:ui/banner.bmp

# One motif on a 16-unit grid for every icon size, drawn 16 times larger without
# antialiasing and averaged down, so that edges on the grid stay sharp. Frame and
# outline widths are given in pixels of the final size, so small icons stay crisp.
iconImage() {
    local size=$1 frame_pixels=$2 outline_pixels=$3
    local b o inner shape
    b=$(awk -v p="$frame_pixels" -v s="$size" 'BEGIN { printf "%.4f", p * 16 / s }')
    o=$(awk -v p="$outline_pixels" -v s="$size" 'BEGIN { printf "%.4f", 2 * p * 16 / s }')
    inner=$(awk -v b="$b" 'BEGIN { printf "%.4f", 12 - b }')
    shape="polygon 14.8,14.8 14.8,9.8 13.01,11.59 8.71,7.29 7.29,8.71 11.59,13.01 9.8,14.8"
    convert -size $((size * 16))x$((size * 16)) xc:none +antialias -draw "
        scale $size,$size
        fill '$ink' rectangle 0,1 12,12
        fill '$sky' rectangle $b,$(awk -v b="$b" 'BEGIN { print 1 + b }') $inner,$inner
        fill '$sun' circle 8,4.6 9.5,4.6
        fill '$far_hill' polygon $b,8.6 3.2,6.4 7,$inner $b,$inner
        fill '$near_hill' polygon 2.2,$inner 7,7.6 $inner,10.2 $inner,$inner
        stroke white stroke-width $o stroke-linejoin miter fill white $shape
        stroke none fill '$arrow' $shape
    " -filter box -resize "${size}x${size}" "$work/icon$size.png"
}
iconImage 16 1 0.5
iconImage 32 2 1
iconImage 48 2 1.5
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" ui/pellavo.ico

file ui/banner.bmp ui/pellavo.ico
