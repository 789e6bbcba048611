#!/usr/bin/env bash
# Photographs the dialogs for the README: builds the 64-bit program into a
# folder of its own and runs it under Xvfb with Wine's X11 driver, in a
# prefix of its own (the tests' prefixes are headless), writing the main
# dialog and the About box in English and Russian, at 100 % (96 DPI) and at
# 150 % (Wine's LogPixels 144): docs/main-dialog-en.png, docs/about-box-ru-150.png ...
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v import >/dev/null || missing+=(imagemagick)
command -v xwininfo >/dev/null || missing+=(x11-utils)
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi

build=$PWD/build/screenshots
cmake --preset x64 -B "$build" >/dev/null
cmake --build "$build" --target pellavo
x86_64-w64-mingw32-g++-posix -Wall -Wextra -O2 -municode -static tools/send_command.cpp -o "$build/send_command.exe"

export WINEPREFIX=$PWD/build/screenshots-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
rm -f "$build/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$build/display" 2>/dev/null &
xvfb=$!
trap '"$wineserver" -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
until [ -s "$build/display" ]; do sleep 0.2; done
DISPLAY=:$(cat "$build/display")
export DISPLAY

if [ ! -f "$WINEPREFIX/.pellavo-ready" ]; then
    "$wine" wineboot --init >/dev/null 2>&1
    # No window manager runs here: Wine draws the title bars itself.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    # Debian's Wine does not look for its own fonts where it installs them;
    # without Tahoma and Marlett the dialogs fall back to bitmap fonts and the
    # title-bar buttons show letters.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    touch "$WINEPREFIX/.pellavo-ready"
fi

# The X window of a top-level window with this title, once it is shown.
window_of() {
    for _ in $(seq 100); do
        id=$(xwininfo -root -tree | grep -F "\"$1\": (\"pellavo.exe\"" | grep -v ' 1x1+' | awk '{ print $1; exit }' || true)
        [ -n "$id" ] && { sleep 1; echo "$id"; return; }
        sleep 0.2
    done
    echo "no window \"$1\" appeared" >&2
    return 1
}

send() { "$wine" "$build/send_command.exe" "$@"; }

mkdir -p docs
printf '800x600\r\n1024x768 jpeg quality=85 no-location\r\n640x480\r\n1600x1600 webp never-larger keep-date\r\n' >"$build/settings.txt"
# The program reads the screen's DPI once, at its start.
for scale in 100 150; do
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((96 * scale / 100)) /f >/dev/null 2>&1
    suffix=
    [ "$scale" = 150 ] && suffix=-150
    for language in en ru; do
        file=en_translate.txt
        about='About Pellavo'
        if [ "$language" = ru ]; then
            file=rus_translate.txt
            about='О программе'
        fi
        cp "$build/local/$file" "$build/current_translate.txt"
        "$wine" "$build/pellavo.exe" &
        program=$!
        import -window "$(window_of Pellavo)" "docs/main-dialog-$language$suffix.png"
        send Pellavo 104
        import -window "$(window_of "$about")" "docs/about-box-$language$suffix.png"
        send "$about" 1
        send Pellavo 1006
        wait $program
    done
done
echo "Wrote docs/main-dialog-{en,ru}{,-150}.png and docs/about-box-{en,ru}{,-150}.png"
