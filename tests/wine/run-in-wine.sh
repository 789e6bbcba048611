#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine in a prefix of the build's own:
# made once (headless, no Mono or Gecko prompts), then reused, with one
# persistent wineserver so that each test does not pay for a new one.
# Usage: run-in-wine.sh PREFIX PROGRAM [ARGS...]   (PREFIX may be relative to the current folder)
set -euo pipefail
prefix=$1
shift
# Wine refuses a relative WINEPREFIX, and the set-up below is silent.
case $prefix in
    /*) ;;
    *) prefix=$PWD/$prefix ;;
esac

export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.pellavo-ready" ]; then
        "$wine" wineboot --init
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
        "$wineserver" -w
        touch "$prefix/.pellavo-ready"
    fi
    # The persistent server and Wine's own services keep running after the
    # first caller; started here, they inherit neither the lock nor the test
    # runner's output pipe, which they would otherwise hold open.
    if "$wineserver" -p 9>&-; then
        "$wine" cmd /c exit 9>&-
    fi
) 9>"$prefix.lock" >/dev/null 2>&1 </dev/null

exec "$wine" "$@"
