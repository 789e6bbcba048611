# Sourced by the resize benchmarks from the repository's root: installs what
# they need (scripts/setup.sh holds the benchmarks' tools too), builds the
# 64-bit program once, and keeps one Wine prefix for them in which opening a
# copy costs little. Safe to source again.
bench=$PWD/build/bench
prefix=$bench/wine-prefix
wine=(tests/wine/run-in-wine.sh "$prefix")
convert=/usr/bin/convert  # ImageMagick itself, whatever else is first on PATH

bash scripts/setup.sh
[ -f build/x64/pellavo.exe ] || bash scripts/build.sh x64
mkdir -p "$bench"

# The prefix's "open" verb for the copies' types runs a command that does
# nothing (Wine has no association of its own for them).
for type in jpg:jpegfile png:pngfile; do
    "${wine[@]}" reg add "HKCR\\.${type%%:*}" /ve /d "${type#*:}" /f >/dev/null 2>&1
    "${wine[@]}" reg add "HKCR\\${type#*:}\\shell\\open\\command" /ve /f \
        /d 'C:\windows\system32\cmd.exe /c rem "%1"' >/dev/null 2>&1
done

winpath() { echo "Z:$(tr / '\\' <<<"$1")"; }
