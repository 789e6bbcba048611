#!/usr/bin/env bash
# Regenerates ui/banner.bmp and ui/banner-large.bmp (the About box's banner),
# ui/pellavo.ico and installer/wizard.bmp (the installer's side picture). All
# are committed, so a build needs no image tools; run this only to change the
# artwork.
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

# The banner's picture, in the coordinates of the 275x106 banner: a photo in
# a dashed frame that an arrow enlarges.
motif="
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
"

# A length of the 275x106 banner at the given scale, rounded down.
at() { awk -v s="$1" -v v="$2" 'BEGIN { printf "%d", v * s }'; }

# The About box's banner at a scale of the 275x106 original: its static
# control shows the bitmap at its own size, so screens of more dots per inch
# get a larger drawing, not a stretched one. The bitmap resource must stay a
# plain 24-bit BI_RGB DIB: no alpha, no compression.
banner() {
    local s=$1 out=$2
    local w h
    w=$(at "$s" 275)
    h=$(at "$s" 106)
    convert -size "${w}x${h}" xc: \
        -sparse-color barycentric "0,0 #fbf8f1 $w,0 #e4eef8 0,$h #f2ebdd $w,$h #d8e6f3" \
        -draw "scale $s,$s $motif" \
        -font "$fonts/DejaVuSans-Bold.ttf" -pointsize "$(at "$s" 34)" -fill "$ink" \
        -annotate "+$(at "$s" 122)+$(at "$s" 55)" 'Pellavo' \
        -fill "$arrow" -draw "scale $s,$s rectangle 124,64 160,66" \
        -font "$fonts/DejaVuSans.ttf" -pointsize "$(at "$s" 10)" -fill '#5b6f86' \
        -annotate "+$(at "$s" 124)+$(at "$s" 84)" '800×600   1024×768' \
        -alpha off -type TrueColor "BMP3:$out"
}
banner 1 ui/banner.bmp
banner 1.5 ui/banner-large.bmp

# The installer's welcome and finish pages show a 164x314 picture at their
# left: the same motif, name and sizes, stacked.
convert -size 164x314 xc: \
    -sparse-color barycentric '0,0 #fbf8f1 164,0 #e4eef8 0,314 #f2ebdd 164,314 #d8e6f3' \
    -draw "translate -3,40 scale 1.4,1.4 $motif" \
    -font "$fonts/DejaVuSans-Bold.ttf" -pointsize 30 -fill "$ink" -gravity north -annotate +0+186 'Pellavo' \
    -fill "$arrow" -draw 'rectangle 57,230 107,232' \
    -font "$fonts/DejaVuSans.ttf" -pointsize 11 -fill '#5b6f86' -annotate +0+246 '800×600' -annotate +0+262 '1024×768' \
    -alpha off -type TrueColor BMP3:installer/wizard.bmp

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
# 24 pixels: the title bar's small icon at 150 %, drawn rather than scaled from 32.
iconImage 24 2 1
convert "$work/icon16.png" "$work/icon24.png" "$work/icon32.png" "$work/icon48.png" ui/pellavo.ico

file ui/banner.bmp ui/banner-large.bmp ui/pellavo.ico installer/wizard.bmp
