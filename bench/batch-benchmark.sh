#!/usr/bin/env bash
# One drop of 100 photos of 12 MP on the 800x600 verb's DropTarget class
# (pellavo.exe -serve resizing them in one batch) against 100 runs of the
# verb's command one after another, under 64-bit Wine in a prefix of its own,
# and against vipsthumbnail given the same 100 files in one process
# (`vipsthumbnail *.jpg -s 800x600`). Prints the wall and CPU times, and each
# target with its measure, met or not: the drop complete (its last copy's
# modification time) against vipsthumbnail's one process, and the peak memory
# of the server against the largest of a single resize. The photos are made
# once and kept. A script, not a test.
# Usage: bash bench/batch-benchmark.sh [COUNT]   (default 100)
#        (PELLAVO_BUILD=FOLDER uses the x64 build in FOLDER, not build/x64)
set -euo pipefail
cd "$(dirname "$0")/.."

count=${1:-100}
bench=$PWD/build/bench/batch
prefix=$PWD/build/bench/batch-prefix
photos=$bench/photos
log=$bench/open.log
convert=/usr/bin/convert  # ImageMagick itself, whatever else is first on PATH
vipsthumbnail=/usr/bin/vipsthumbnail

bash scripts/setup.sh
build=${PELLAVO_BUILD:-build/x64}
[ -f "$build/CMakeCache.txt" ] || cmake --preset x64 -B "$build" >/dev/null
cmake --build "$build" -j2 --target pellavo drop_files open_recorder >/dev/null

run() { tests/wine/run-in-wine.sh "$prefix" "$@"; }
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }

# The program as installed for everyone, under the prefix's Program Files:
# COM finds its classes through HKEY_CLASSES_ROOT, into which Wine does not
# merge a user's own classes. A copy with its translations and one size.
run cmd /c exit >/dev/null 2>&1  # the prefix, made on first use
app=$prefix/drive_c/Program\ Files/Pellavo\ Bench
rm -rf "$app"
mkdir -p "$app" "$photos"
cp -r "$build/pellavo.exe" "$build/local" "$app/"
printf '800x600\r\n' >"$app/settings.txt"
# Opening a copy or a folder only notes it: a single run opens its copy,
# the batch one folder window (Wine's shell runs the folder's "explore"
# command as a bare program path, without the folder).
cp "$build/tests/e2e/open_recorder.exe" "$bench/"
recorder=$(winpath "$bench/open_recorder.exe")
export PELLAVO_OPEN_LOG
PELLAVO_OPEN_LOG=$(winpath "$bench")'\open.log'
run reg add 'HKCR\.jpg' /ve /d jpegfile /f >/dev/null 2>&1
run reg add 'HKCR\jpegfile\shell\open\command' /ve /d "\"$recorder\" \"%1\"" /f >/dev/null 2>&1
run reg add 'HKCR\Folder\shell\explore\command' /ve /d "$recorder" /f >/dev/null 2>&1
run "$app/pellavo.exe" Install >/dev/null 2>&1
trap 'run "$app/pellavo.exe" Uninstall >/dev/null 2>&1 || true; WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true' EXIT
class=$(run reg query 'HKCR\SystemFileAssociations\.jpg\shell\Resize 800x600...\DropTarget' /v Clsid 2>/dev/null |
    sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r')
[ -n "$class" ] || { echo "Install wrote no DropTarget class" >&2; exit 1; }

# A photo-like 12 MP picture (a plasma fractal, softened, with a little
# grain), made once, and its $count copies once too.
model=$PWD/build/bench/batch-photo-12mp.jpg
if [ ! -f "$model" ]; then
    echo "Making a 4000x3000 photo"
    "$convert" -size 4000x3000 -seed 7 plasma:fractal -blur 0x3 -attenuate 0.4 +noise Gaussian -quality 90 \
        "$model.tmp.jpg"
    mv "$model.tmp.jpg" "$model"
fi
sources=() files=()
for i in $(seq -w 1 "$count"); do
    if [ ! -f "$photos/photo-$i.jpg" ]; then
        cp "$model" "$photos/photo-$i.tmp"
        mv "$photos/photo-$i.tmp" "$photos/photo-$i.jpg"
    fi
    sources+=("$(winpath "$photos/photo-$i.jpg")")
    files+=("$photos/photo-$i.jpg")
done

clean() { rm -f "$photos"/*_800x600*.jpg "$log"; rm -rf "$bench/vips"; }
copies() { find "$photos" -name '*_800x600.jpg' -size +0 | wc -l; }
now() { date +%s.%N; }

echo "Warming up"
clean
run "$app/pellavo.exe" -size 800x600 "${sources[0]}" >/dev/null 2>&1
clean

echo "$count runs of the command, one after another"
: >"$bench/rss.txt"
start=$(now)
for source in "${sources[@]}"; do
    /usr/bin/time -f '%M %U %S' -a -o "$bench/rss.txt" \
        tests/wine/run-in-wine.sh "$prefix" "$app/pellavo.exe" -size 800x600 "$source" >/dev/null 2>&1 </dev/null
done
sequential=$(echo "$(now) - $start" | bc)
sequential_copies=$(copies)
single_peak=$(sort -n "$bench/rss.txt" | tail -n 1 | cut -d' ' -f1)
sequential_cpu=$(awk '{ cpu += $2 + $3 } END { print cpu }' "$bench/rss.txt")
sleep 2
clean

echo "vipsthumbnail on the $count photos in one process"
mkdir -p "$bench/vips"
start=$(now)
/usr/bin/time -f '%M %U %S' -o "$bench/vips-times.txt" \
    "$vipsthumbnail" "${files[@]}" -s 800x600 -o "$bench/vips/%s_800x600.jpg" </dev/null
vips=$(echo "$(now) - $start" | bc)
vips_copies=$(find "$bench/vips" -name '*_800x600.jpg' -size +0 | wc -l)
read -r vips_peak vips_user vips_system <"$bench/vips-times.txt"
vips_cpu=$(echo "$vips_user + $vips_system" | bc)
clean

echo "One drop of $count photos"
start=$(now)
run "$build/tests/e2e/drop_files.exe" "$class" "${sources[@]}" >/dev/null 2>&1
# The server writes the copies, then opens the folder window: that is the end.
server_peak=0
server_ticks=0
server=
# Read with the shell's own builtins, a few times a second, so that the
# watching takes next to nothing from the cores the batch runs on.
watch_server() {
    local key value rest stat
    [ -n "$server" ] || server=$(pgrep -f -- '-serve 800x600' | head -n 1 || true)
    [ -n "$server" ] || return 0
    while read -r key value rest; do
        if [ "$key" = VmHWM: ] && [ "$value" -gt "$server_peak" ]; then server_peak=$value; fi
    done 2>/dev/null <"/proc/$server/status" || return 0
    read -r stat 2>/dev/null <"/proc/$server/stat" || return 0
    stat=${stat##*) }
    read -r -a stat <<<"$stat"
    # utime and stime, the 14th and 15th fields, are the 12th and 13th after the name.
    if [ $((stat[11] + stat[12])) -gt "$server_ticks" ]; then server_ticks=$((stat[11] + stat[12])); fi
}
SECONDS=0
while [ ! -s "$log" ]; do
    watch_server
    sleep 0.2
    if [ "$SECONDS" -gt 1800 ]; then echo "the batch did not end" >&2; exit 1; fi
done
batch_copies=$(copies)
# Complete when its last copy was: the folder window comes after.
last_copy=$(find "$photos" -name '*_800x600.jpg' -printf '%T@\n' | sort -n | tail -n 1)
batch=$(echo "${last_copy:-$(now)} - $start" | bc)
# The server lingers a moment after its batch; its peak is read to the end.
while pgrep -f -- '-serve 800x600' >/dev/null; do
    watch_server
    sleep 0.2
done
batch_cpu=$(echo "$server_ticks / $(getconf CLK_TCK)" | bc -l)
clean

echo
echo "$(nproc) cores; load average before the batch: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-36s %9s %9s %8s %11s\n' "" "seconds" "CPU s" "copies" "peak MiB"
printf '%-36s %9.1f %9.1f %8d %11.1f\n' "$count runs of -size 800x600" "$sequential" "$sequential_cpu" \
    "$sequential_copies" "$(echo "$single_peak / 1024" | bc -l)"
printf '%-36s %9.1f %9.1f %8d %11.1f\n' "vipsthumbnail on $count, one process" "$vips" "$vips_cpu" \
    "$vips_copies" "$(echo "$vips_peak / 1024" | bc -l)"
printf '%-36s %9.1f %9.1f %8d %11.1f\n' "one drop of $count (-serve 800x600)" "$batch" "$batch_cpu" "$batch_copies" \
    "$(echo "$server_peak / 1024" | bc -l)"
# Prints a target with its measure, met or not: WHAT MEASURE <= or >= LIMIT.
# A drop that left copies unwritten meets none.
target() {
    local verdict
    verdict=$(awk -v got="$2" -v sense="$3" -v limit="$4" \
        'BEGIN { print (sense == "<=" ? got <= limit : got >= limit) ? "met" : "NOT met" }')
    [ "$batch_copies" -eq "$count" ] || verdict="NOT met ($batch_copies of $count copies)"
    printf '  %-44s %6.2f  %s %-4s %s\n' "$1" "$2" "$3" "$4" "$verdict"
}
echo "Targets of the drop:"
target "last copy's time / vipsthumbnail's one process" "$(echo "$batch / $vips" | bc -l)" "<=" 1.0
target "peak memory / a single resize's" "$(echo "$server_peak / $single_peak" | bc -l)" "<=" 2.2
echo "Peak memory is the largest resident set: of each single run's process from /usr/bin/time,"
echo "and of the server's process from VmHWM in /proc, read until it ended. CPU seconds (user and"
echo "system) say what the work costs whatever else the machine runs: wall times and the ratio"
echo "follow the load average, as other processes take the cores."
