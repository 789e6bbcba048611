#!/usr/bin/env bash
# Sets up, builds everything and runs every test: the release checks of the
# 32-bit program, the computing code natively under ASan and UBSan, and the
# 64-bit Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
# The test prefix's persistent Wine server and services end with the run,
# passed or not.
trap 'WINEPREFIX=$PWD/build/x64/wine-prefix /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true' EXIT
bash scripts/setup.sh
bash scripts/build.sh x86 x64 host
ctest --preset x86
ctest --preset host
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz
ctest --preset x64
