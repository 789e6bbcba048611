#!/usr/bin/env bash
# Resizes photos that say where they were taken through presets that leave
# that out, under Wine, and asks exiftool what the copies still say: nothing
# of the place, in the Exif, the XMP or the thumbnail inside them, while the
# date, the camera and the colour profile stay; with "profile-only", no Exif
# or XMP at all. The photos are made by ImageMagick and exiftool.
# Usage: privacy_test.sh PELLAVO_EXE WORK_DIR   (WORK_DIR is deleted at the start and at the end)
set -euo pipefail
pellavo=$1
work=$2
prefix=$work/prefix
pictures=$work/pictures
run=("$(dirname "$0")/../wine/run-in-wine.sh" "$prefix")
profile=/usr/share/color/icc/ghostscript/default_rgb.icc

cleanup() {
    WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
cleanup
mkdir -p "$pictures"

# The copies open with something harmless.
for extension in .jpg .png .webp .tif; do
    "${run[@]}" reg add "HKCR\\$extension" /ve /d harmlesspicture /f >/dev/null
done
"${run[@]}" reg add 'HKCR\harmlesspicture\shell\open\command' /ve /d 'C:\windows\system32\cmd.exe /c rem "%1"' /f >/dev/null

# A photo with its place in Exif (GPS directory), in XMP (exif:GPS*,
# photoshop:City) and in its thumbnail's own Exif, with date, camera and
# colour profile; then the same details in PNG, WebP and TIFF files.
convert -size 640x480 gradient:red-blue "$work/base.jpg"
convert -size 160x120 xc:green "$work/thumb.jpg"
place=(-GPSLatitude=48.8584 -GPSLatitudeRef=N -GPSLongitude=2.2945 -GPSLongitudeRef=E)
exiftool -q -overwrite_original "${place[@]}" "$work/thumb.jpg"
cp "$work/base.jpg" "$pictures/photo.jpg"
exiftool -q -overwrite_original -Make=Pellavo -Model=Tester '-DateTimeOriginal=2024:05:01 12:00:00' "${place[@]}" \
    -GPSAltitude=35 -XMP-exif:GPSLatitude=48.8584 -XMP-exif:GPSLongitude=2.2945 -XMP-photoshop:City=Paris \
    -XMP-dc:Creator=Someone "-ThumbnailImage<=$work/thumb.jpg" "-ICC_Profile<=$profile" "$pictures/photo.jpg"
for kind in png webp tif; do
    convert "$work/base.jpg" "$pictures/photo.$kind"
    exiftool -q -overwrite_original -tagsFromFile "$pictures/photo.jpg" -all:all -ICC_Profile "$pictures/photo.$kind"
done

# shellcheck source=../wine/expect.sh
source "$(dirname "$0")/../wine/expect.sh"
# Every tag exiftool finds, thumbnails and embedded pictures included, as "[group] name: value".
tags() { exiftool -a -G1 -s -ee -e "$1" | sed 's/  */ /g'; }
place_tags() { tags "$1" | grep -iE 'gps|city' || true; }
# What must stay: date, camera and the profile's description.
kept_tags() { exiftool -s3 -DateTimeOriginal -Make -Model -ProfileDescription "$1"; }
thumbnail_place() {
    local thumbnail=$work/thumbnail.jpg
    exiftool -b -ThumbnailImage "$1" >"$thumbnail" || true
    [ -s "$thumbnail" ] && { exiftool -a -s "$thumbnail" | grep -iE 'gps' || true; }
    rm -f "$thumbnail"
}

# source, preset words, copy, what is checked beside the place: "place" (the
# rest stays), "profile" (only the profile stays) or "nothing"
rows=(
    "photo.jpg|320x240 no-location|photo_320x240.jpg|place"
    "photo.jpg|320x240 profile-only|photo_320x240.jpg|profile"
    "photo.png|320x240 no-location|photo_320x240.png|place"
    "photo.png|320x240 jpeg no-location|photo_320x240.jpg|place"
    "photo.webp|320x240 no-location|photo_320x240.webp|place"
    "photo.webp|320x240 png profile-only|photo_320x240.png|profile"
    # Windows' codecs hand over no Exif or XMP of a TIFF: only that none leaks is asked.
    "photo.tif|320x240 jpeg no-location|photo_320x240.jpg|nothing"
)
for row in "${rows[@]}"; do
    IFS='|' read -r source preset copy check <<<"$row"
    echo "== $source through \"$preset\""
    # Started whole, as the verb's command is: the words stand before the path.
    # shellcheck disable=SC2086
    "${run[@]}" "$pellavo" -size $preset "Z:${pictures//\//\\}\\$source"
    expect "the copy" "$(cd "$pictures" && ls "$copy" 2>/dev/null || true)" "$copy"
    [ -f "$pictures/$copy" ] || continue
    expect "no place anywhere" "$(place_tags "$pictures/$copy")" ""
    expect "no place in the thumbnail" "$(thumbnail_place "$pictures/$copy")" ""
    if [ "$check" = nothing ]; then
        :
    elif [ "$check" = place ]; then
        expect "date, camera and profile stay" "$(kept_tags "$pictures/$copy")" "$(kept_tags "$pictures/$source")"
        expect "the rest of the XMP stays" "$(exiftool -s3 -XMP-dc:Creator "$pictures/$copy")" Someone
    else
        expect "no Exif or XMP" "$(exiftool -a -G0 -s "$pictures/$copy" | grep -E '^\[(EXIF|XMP)\]' || true)" ""
        expect "the profile stays" "$(exiftool -s3 -ProfileDescription "$pictures/$copy")" \
            "$(exiftool -s3 -ProfileDescription "$pictures/$source")"
    fi
    rm -f "$pictures/$copy"
done

[ "$failures" -eq 0 ] && echo "privacy test passed"
exit "$failures"
