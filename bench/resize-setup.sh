# Sourced by the resize benchmarks from the repository's root: installs what
# they need (scripts/setup.sh holds the benchmarks' tools too), brings the
# 64-bit program up to date (in build/x64, or the x64 build folder that
# PELLAVO_BUILD names), and keeps one Wine prefix for them in which opening a
# copy costs little. Safe to source again.
bench=$PWD/build/bench
prefix=$bench/wine-prefix
wine=(tests/wine/run-in-wine.sh "$prefix")
convert=/usr/bin/convert  # ImageMagick itself, whatever else is first on PATH
build=${PELLAVO_BUILD:-build/x64}
pellavo=$build/pellavo.exe

bash scripts/setup.sh
[ -f "$build/CMakeCache.txt" ] || cmake --preset x64 -B "$build" >/dev/null
cmake --build "$build" -j2 --target pellavo >/dev/null
mkdir -p "$bench"

# The prefix's "open" verb for the copies' types runs a command that does
# nothing (Wine has no association of its own for them).
for type in jpg:jpegfile png:pngfile webp:webpfile; do
    "${wine[@]}" reg add "HKCR\\.${type%%:*}" /ve /d "${type#*:}" /f >/dev/null 2>&1
    "${wine[@]}" reg add "HKCR\\${type#*:}\\shell\\open\\command" /ve /f \
        /d 'C:\windows\system32\cmd.exe /c rem "%1"' >/dev/null 2>&1
done

winpath() { echo "Z:$(tr / '\\' <<<"$1")"; }
