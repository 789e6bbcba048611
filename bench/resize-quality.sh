#!/usr/bin/env bash
# How close the program's copies come to a correct shrink: two 4000x3000
# sources, a plasma fractal (photo-like detail at every scale) and a zone
# plate (rings whose frequency rises from nothing in the middle to the finest
# a pixel grid holds in the corners), are shrunk into four sizes by
# pellavo.exe (the 64-bit build under Wine) and by libvips' vipsthumbnail,
# lossless PNG in and out, and each copy is compared with ImageMagick's
# `convert <in> -resize WxH` by PSNR (`compare -metric PSNR`; higher is
# closer). Targets for the program: at least 48 dB on the plasma and 30 dB
# on the zone plate in every row.
# Then the same plasma as a photo stored as JPEG (quality 92, 4:2:0): the
# program's JPEG copy and ImageMagick's own quality-95 4:2:0 one are compared
# with ImageMagick's resize of the full decode, stored losslessly. Targets:
# the program's copy at most 0.5 dB below ImageMagick's, stored at quality 95
# (`identify -format %Q`), in every row. Last the plasma as a lossy WebP
# (quality 90): the program's WebP copy at least as close to the PNG rows'
# reference as vipsthumbnail's WebP copy, in every row.
# Safe to run again: packages, sources and references are made once.
# Usage: bash bench/resize-quality.sh
#        (PELLAVO_BUILD=FOLDER uses the x64 build in FOLDER, not build/x64)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/resize-setup.sh
quality=$bench/quality
mkdir -p "$quality"
sizes=(800x600 1024x768 640x480 1920x1080)

if [ ! -f "$quality/plasma.png" ]; then
    echo "Making plasma.png"
    "$convert" -seed 7 -size 4000x3000 plasma:fractal "$quality/plasma.tmp.png"
    mv "$quality/plasma.tmp.png" "$quality/plasma.png"
fi
# Phase k*r^2 has the local frequency k*r/pi cycles per pixel: half a cycle,
# the finest there is, at the corners, 2500 pixels from the middle.
if [ ! -f "$quality/zone.png" ]; then
    echo "Making zone.png"
    awk 'BEGIN {
        w = 4000; h = 3000; k = 3.14159265358979 * 0.5 / 2500
        printf "P2\n%d %d\n255\n", w, h
        for (y = 0; y < h; y++) {
            dy = y - (h - 1) / 2
            for (x = 0; x < w; x++) { dx = x - (w - 1) / 2; printf "%d\n", int(127.5 + 127.5 * cos(k * (dx * dx + dy * dy)) + 0.5) }
        }
    }' | "$convert" pgm:- -type TrueColor "$quality/zone.tmp.png"
    mv "$quality/zone.tmp.png" "$quality/zone.png"
fi

psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 || true; }

printf '%-9s %-9s %11s %15s  %s\n' picture size pellavo vipsthumbnail target
verdicts=()
for name in plasma zone; do
    target=$([ "$name" = plasma ] && echo 48 || echo 30)
    for size in "${sizes[@]}"; do
        reference=$quality/$name-$size-reference.png
        [ -f "$reference" ] || "$convert" "$quality/$name.png" -resize "$size" "$reference"
        fitted=$(identify -format '%wx%h' "$reference")
        rm -f "$quality/${name}"_*.png "$quality/vips.png"
        "${wine[@]}" "$pellavo" -size "$size" "$(winpath "$quality/$name.png")" >/dev/null 2>&1 || true
        vipsthumbnail -s "$size" -o "$quality/vips.png" "$quality/$name.png"
        copy=$quality/${name}_$fitted.png
        ours=$([ -f "$copy" ] && psnr "$copy" "$reference" || echo "no copy")
        theirs=$(psnr "$quality/vips.png" "$reference")
        if awk -v got="$ours" -v target="$target" 'BEGIN { exit !(got + 0 >= target) }'; then
            verdict=met
        else
            verdict="NOT met (>= $target dB)"
            verdicts+=("$name $size: $ours dB, below $target")
        fi
        printf '%-9s %-9s %11s %15s  %s\n' "$name" "$size" "$ours" "$theirs" "$verdict"
        rm -f "$copy" "$quality/vips.png"
    done
done

if [ ! -f "$quality/photo.jpg" ]; then
    echo "Making photo.jpg"
    "$convert" "$quality/plasma.png" -quality 92 -sampling-factor 2x2 "$quality/photo.tmp.jpg"
    mv "$quality/photo.tmp.jpg" "$quality/photo.jpg"
fi
echo
printf '%-9s %-9s %11s %15s %10s  %s\n' picture size pellavo "imagemagick 95" "quality" target
for size in "${sizes[@]}"; do
    reference=$quality/photo-$size-reference.png
    [ -f "$reference" ] || "$convert" "$quality/photo.jpg" -resize "$size" "$reference"
    fitted=$(identify -format '%wx%h' "$reference")
    rm -f "$quality"/photo_*.jpg "$quality/imagemagick.jpg"
    "${wine[@]}" "$pellavo" -size "$size" "$(winpath "$quality/photo.jpg")" >/dev/null 2>&1 || true
    "$convert" "$quality/photo.jpg" -resize "$size" -quality 95 -sampling-factor 2x2 "$quality/imagemagick.jpg"
    copy=$quality/photo_$fitted.jpg
    ours=$([ -f "$copy" ] && psnr "$copy" "$reference" || echo "no copy")
    stored=$([ -f "$copy" ] && identify -format '%Q' "$copy" || echo "-")
    theirs=$(psnr "$quality/imagemagick.jpg" "$reference")
    if awk -v got="$ours" -v theirs="$theirs" 'BEGIN { exit !(got + 0 >= theirs - 0.5) }' && [ "$stored" = 95 ]; then
        verdict=met
    else
        verdict="NOT met (>= $(awk -v theirs="$theirs" 'BEGIN { print theirs - 0.5 }') dB, quality 95)"
        verdicts+=("photo.jpg $size: $ours dB against ImageMagick's $theirs, quality $stored")
    fi
    printf '%-9s %-9s %11s %15s %10s  %s\n' photo.jpg "$size" "$ours" "$theirs" "$stored" "$verdict"
    rm -f "$copy" "$quality/imagemagick.jpg"
done
# The plasma as a web page's lossy WebP: the program's WebP copy and
# vipsthumbnail's, each at its own quality, against the PNG rows' reference.
[ -f "$quality/plasma.webp" ] || vips copy "$quality/plasma.png" "$quality/plasma.webp[Q=90]"
echo
printf '%-11s %-9s %11s %15s  %s
' picture size pellavo vipsthumbnail target
for size in "${sizes[@]}"; do
    reference=$quality/plasma-$size-reference.png
    fitted=$(identify -format '%wx%h' "$reference")
    rm -f "$quality"/plasma_*.webp "$quality/vips.webp"
    "${wine[@]}" "$pellavo" -size "$size" "$(winpath "$quality/plasma.webp")" >/dev/null 2>&1 || true
    vipsthumbnail -s "$size" -o "$quality/vips.webp" "$quality/plasma.webp"
    copy=$quality/plasma_$fitted.webp
    ours=$([ -f "$copy" ] && psnr "$copy" "$reference" || echo "no copy")
    theirs=$(psnr "$quality/vips.webp" "$reference")
    if awk -v got="$ours" -v theirs="$theirs" 'BEGIN { exit !(got + 0 >= theirs + 0) }'; then
        verdict=met
    else
        verdict="NOT met (>= $theirs dB)"
        verdicts+=("plasma.webp $size: $ours dB against vipsthumbnail's $theirs")
    fi
    printf '%-11s %-9s %11s %15s  %s
' plasma.webp "$size" "$ours" "$theirs" "$verdict"
    rm -f "$copy" "$quality/vips.webp"
done
echo
if [ ${#verdicts[@]} -eq 0 ]; then
    echo "Every row meets its target (plasma >= 48 dB, zone plate >= 30 dB; photo.jpg at most 0.5 dB"
    echo "below ImageMagick's quality-95 copy, at quality 95; plasma.webp at least vipsthumbnail's"
    echo "WebP copy): met."
else
    printf 'NOT met: %s\n' "${verdicts[@]}"
fi
