#!/usr/bin/env bash
# Times `pellavo.exe -size 800x600` under 64-bit Wine against ImageMagick's
# convert and libvips' vipsthumbnail on a 12-, a 24- and a 75-megapixel
# photo-like JPEG and the 75-megapixel one made progressive, the 12-megapixel
# one as a lossless PNG and a lossy WebP (each tool writing a copy of the
# source's own kind), and the program
# alone on the 12-megapixel one tagged as stored turned: 5 runs of each, then
# a table of medians, of the time until the copy is complete and of the whole
# run, with the peak memory, and each target the program is held to with its
# measure, met or not. Given an earlier build's pellavo.exe, it times that
# too, as "earlier", for a before and after.
# Safe to run again: packages, pictures and Wine prefix are made once.
# Usage: bash bench/resize-benchmark.sh [EARLIER_PELLAVO_EXE]
#        (PELLAVO_BUILD=FOLDER times the x64 build in FOLDER, not build/x64)
set -euo pipefail
cd "$(dirname "$0")/.."
earlier=${1:+$(realpath "$1")}

runs=5
source bench/resize-setup.sh
out=$bench/out
mkdir -p "$out"

# Photo-like pictures (a plasma fractal, softened, with a little grain), made
# once, and the 12-megapixel one again with an Exif tag that says it is stored
# turned (6: shown turned clockwise), which the program turns upright.
pictures=(photo-12mp photo-12mp-turned photo-24mp photo-75mp photo-75mp-progressive photo-12mp-png photo-12mp-webp)
# The file's extension, which is also its copy's; JPEG where not named.
declare -A kind=([photo-12mp-png]=png [photo-12mp-webp]=webp)
kindOf() { echo "${kind[$1]:-jpg}"; }
declare -A dimensions=([photo-12mp]=4000x3000 [photo-24mp]=6000x4000)
declare -A expected=([photo-12mp]=800x600 [photo-12mp-turned]=450x600 [photo-24mp]=800x533 [photo-75mp]=800x600
    [photo-75mp-progressive]=800x600 [photo-12mp-png]=800x600 [photo-12mp-webp]=800x600)
for name in photo-12mp photo-24mp; do
    [ -f "$bench/$name.jpg" ] && continue
    echo "Making $name.jpg (${dimensions[$name]})"
    "$convert" -size "${dimensions[$name]}" -seed 7 plasma:fractal -blur 0x3 \
        -attenuate 0.4 +noise Gaussian -quality 90 "$bench/$name.tmp.jpg"
    mv "$bench/$name.tmp.jpg" "$bench/$name.jpg"
done
# The 75-megapixel one (10000x7500) is the 12-megapixel one enlarged by
# libvips, with fresh grain: a plasma that size takes ImageMagick minutes.
if [ ! -f "$bench/photo-75mp.jpg" ]; then
    echo "Making photo-75mp.jpg (10000x7500)"
    vips resize "$bench/photo-12mp.jpg" "$bench/enlarged.v" 2.5
    vips gaussnoise "$bench/grain.v" 10000 7500 --sigma 6 --mean 0 --seed 7
    vips add "$bench/enlarged.v" "$bench/grain.v" "$bench/grained.v"
    vips cast "$bench/grained.v" "$bench/photo-75mp.tmp.jpg[Q=90]" uchar
    rm "$bench/enlarged.v" "$bench/grain.v" "$bench/grained.v"
    mv "$bench/photo-75mp.tmp.jpg" "$bench/photo-75mp.jpg"
fi
# The same photo as a camera's progressive JPEG: jpegtran recodes it losslessly.
if [ ! -f "$bench/photo-75mp-progressive.jpg" ]; then
    echo "Making photo-75mp-progressive.jpg"
    jpegtran -progressive -copy all -outfile "$bench/photo-75mp-progressive.tmp.jpg" "$bench/photo-75mp.jpg"
    mv "$bench/photo-75mp-progressive.tmp.jpg" "$bench/photo-75mp-progressive.jpg"
fi
# The 12-megapixel photo stored losslessly as PNG, and as a web page's lossy WebP.
[ -f "$bench/photo-12mp-png.png" ] || vips copy "$bench/photo-12mp.jpg" "$bench/photo-12mp-png.png"
[ -f "$bench/photo-12mp-webp.webp" ] || vips copy "$bench/photo-12mp.jpg" "$bench/photo-12mp-webp.webp[Q=90]"
# An APP1 segment straight after the start marker: "Exif", a little-endian
# TIFF header, IFD0 with one entry, Orientation (0x0112) = 6.
{
    head -c 2 "$bench/photo-12mp.jpg"
    printf '\xff\xe1\x00\x22Exif\x00\x00II\x2a\x00\x08\x00\x00\x00\x01\x00'
    printf '\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00'
    tail -c +3 "$bench/photo-12mp.jpg"
} >"$bench/photo-12mp-turned.jpg"

clean() { rm -f "$bench"/photo-*_*.jpg "$bench"/photo-*_*.png "$bench"/photo-*_*.webp "$out"/*; }

# Runs "$@" once, after cleaning up, and adds a row to $results: tool,
# picture, seconds of the whole run, peak RSS in KiB, seconds from the start
# until the output was last written (its modification time; "-" without an
# output), and what went wrong (the exit code, "missing" when the expected
# output is not there, or "-"). The copy is complete before pellavo.exe
# ends: it then opens the copy, which under Wine waits for a second process's
# start, a cost that neither the other tools nor Windows pay.
results=$bench/results.txt
: >"$results"
measure() {
    local tool=$1 picture=$2 output=$3 status start end complete=-
    shift 3
    clean
    sleep 2  # Wine's desktop process and the open verb's cmd.exe outlive a run by 1-2 s
    status=0
    start=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$bench/time.txt" "$@" >/dev/null 2>&1 </dev/null || status=$?
    end=$EPOCHREALTIME
    if [ "$output" != - ] && [ -f "$output" ]; then
        complete=$(echo "$(stat -c %.Y "$output") - $start" | bc)
    fi
    if [ "$status" = 0 ]; then
        if [ "$output" = - ] || [ -f "$output" ]; then status=-; else status=missing; fi
    fi
    echo "$tool $picture $(echo "$end - $start" | bc) $(tail -n 1 "$bench/time.txt") $complete $status" >>"$results"
}

# The other tools are not timed on the turned photo: it is there to compare
# the program with itself.
others() { [ "$1" != photo-12mp-turned ]; }
# One run of every tool on a picture.
measureAll() {
    local name=$1 ext
    ext=$(kindOf "$1")
    local picture=$bench/$1.$ext result=$bench/${1}_${expected[$1]}.$ext copy=$out/$1.$ext
    if others "$name"; then
        measure imagemagick "$name" "$copy" "$convert" "$picture" -resize 800x600 "$copy"
        measure vipsthumbnail "$name" "$copy" vipsthumbnail -s 800x600 -o "$copy" "$picture"
    fi
    if [ -n "$earlier" ]; then
        measure earlier "$name" "$result" "${wine[@]}" "$earlier" -size 800x600 "$(winpath "$picture")"
    fi
    measure pellavo "$name" "$result" "${wine[@]}" "$pellavo" -size 800x600 "$(winpath "$picture")"
}

echo "Warming up, and checking pellavo's copies"
for name in "${pictures[@]}"; do
    clean
    ext=$(kindOf "$name")
    result=$bench/${name}_${expected[$name]}.$ext
    "${wine[@]}" "$pellavo" -size 800x600 "$(winpath "$bench/$name.$ext")" >/dev/null 2>&1 || true
    got=$( [ -f "$result" ] && identify -format '%wx%h' "$result" || echo "no such file")
    [ "$got" = "${expected[$name]}" ] && verdict=OK || verdict="WRONG, expected ${expected[$name]}"
    echo "  pellavo's output ${result#"$PWD/"}: $got ($verdict)"
    others "$name" || continue
    "$convert" "$bench/$name.$ext" -resize 800x600 "$out/warm.$ext"
    vipsthumbnail -s 800x600 -o "$out/warm.$ext" "$bench/$name.$ext"
done

# Round by round, each tool once on each picture, so that a change in the
# machine's load falls on every tool alike.
load=$(cut -d' ' -f1-3 /proc/loadavg)
for round in $(seq "$runs"); do
    echo "Timing round $round of $runs"
    for name in "${pictures[@]}"; do measureAll "$name"; done
    # Wine's own start-up: an invalid size makes the program exit at once.
    measure wine-start-up photo-12mp - "${wine[@]}" "$pellavo" -size 0x0 "$(winpath "$bench/photo-12mp.jpg")"
done
clean
echo
echo "Medians of $runs runs (load average before timing: $load): \"complete s\" from the command's"
echo "start until its output was last written (the file's modification time), \"ratio\" of that to"
echo "the fastest tool's on the same picture, \"run s\" until the command ended (pellavo.exe then"
echo "has opened its copy). Peak memory is the largest maximum resident set size of the $runs runs,"
echo "from /usr/bin/time. Under Wine that is pellavo.exe's own process: the launcher execs wine64,"
echo "which (with no preloader installed) execs itself and loads pellavo.exe in the same process;"
echo "what Wine starts for it (explorer.exe /desktop, the open verb's cmd.exe) is double-forked"
echo "away and not counted, nor is the persistent wineserver."
LC_ALL=C sort -k2,2 -k1,1 "$results" | awk -v runs="$runs" '
    { key = $1 " " $2; if (!(key in n)) order[++keys] = key
      ++n[key]; run[key, n[key]] = $3; complete[key, n[key]] = $5
      if ($4 > rss[key]) rss[key] = $4; status[key] = $6
      if ($6 != "-" && $1 != "wine-start-up") failed[key]++ }
    END {
        for (key in n) {
            median_run[key] = median(run, key)
            value = median(complete, key)
            if (value != "-") median_complete[key] = value
            split(key, part, " ")
            if (ran(key) && (key in median_complete) &&
                (!(part[2] in best) || median_complete[key] < best[part[2]]))
                best[part[2]] = median_complete[key]
        }
        printf "%-14s %-23s %10s %6s %7s %9s  %s\n", "tool", "picture", "complete s", "ratio", "run s", "peak MiB", "note"
        for (i = 1; i <= keys; i++) {
            key = order[i]; split(key, part, " ")
            note = failed[key] ? failed[key] "/" runs " runs failed (" status[key] ")" : ""
            if (part[1] == "wine-start-up") note = "pellavo.exe -size 0x0, exit code " (status[key] == "-" ? 0 : status[key])
            done = key in median_complete ? sprintf("%.3f", median_complete[key]) : "-"
            ratio = ran(key) && (key in median_complete) ? sprintf("%.2f", median_complete[key] / best[part[2]]) : "-"
            printf "%-14s %-23s %10s %6s %7.3f %9.1f  %s\n", part[1], part[2], done, ratio, median_run[key], rss[key] / 1024, note
        }
        print "\nTargets of pellavo (time: the median until complete against the other tool'"'"'s; memory: the peak)"
        versus("12 MP time / imagemagick", "photo-12mp", "imagemagick", "0.4")
        versus("12 MP time / vipsthumbnail", "photo-12mp", "vipsthumbnail", "1.0")
        versus("24 MP time / imagemagick", "photo-24mp", "imagemagick", "0.3")
        versus("24 MP time / vipsthumbnail", "photo-24mp", "vipsthumbnail", "1.1")
        peak("24 MP peak memory, MiB", "photo-24mp", "48")
        peak("75 MP peak memory, MiB", "photo-75mp", "64")
        versus("12 MP PNG time / vipsthumbnail", "photo-12mp-png", "vipsthumbnail", "1.0")
        versus("12 MP WebP time / vipsthumbnail", "photo-12mp-webp", "vipsthumbnail", "1.0")
        printf "  %-34s %7.1f  %-14s\n", "12 MP PNG peak memory, MiB", rss["pellavo photo-12mp-png"] / 1024, "(printed)"
        printf "  %-34s %7.1f  %-14s\n", "12 MP WebP peak memory, MiB", rss["pellavo photo-12mp-webp"] / 1024, "(printed)"
        if (ran("pellavo photo-75mp-progressive"))
            printf "  %-34s %7.1f  %-14s met\n", "75 MP progressive resizes, MiB", rss["pellavo photo-75mp-progressive"] / 1024, "(its peak)"
        else
            printf "  %-34s %7s  %-14s NOT met (a run failed)\n", "75 MP progressive resizes, MiB", "-", "(its peak)"
    }
    # The middle of the runs'"'"' values of key in values[key, 1..n], those not "-"; "-" if none.
    function median(values, key,    sorted, count, i, j, value) {
        count = 0
        for (i = 1; i <= n[key]; i++) {
            if (values[key, i] == "-") continue
            value = values[key, i] + 0
            for (j = ++count; j > 1 && sorted[j - 1] > value; j--) sorted[j] = sorted[j - 1]
            sorted[j] = value
        }
        return count ? sorted[int((count + 1) / 2)] : "-"
    }
    function ran(key) { return (key in n) && !failed[key] }
    function verdict(what, measured, limit) {
        printf "  %-34s %7.2f  at most %-6s %s\n", what, measured, limit, measured <= limit + 0 ? "met" : "NOT met"
    }
    function missing(what, limit) { printf "  %-34s %7s  at most %-6s NOT met (a run failed)\n", what, "-", limit }
    function versus(what, picture, other, limit) {
        if (ran("pellavo " picture) && ran(other " " picture))
            verdict(what, median_complete["pellavo " picture] / median_complete[other " " picture], limit)
        else
            missing(what, limit)
    }
    function peak(what, picture, limit) {
        if (ran("pellavo " picture)) verdict(what, rss["pellavo " picture] / 1024, limit)
        else missing(what, limit)
    }'
