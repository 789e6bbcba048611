#!/usr/bin/env bash
# Configures and builds the given presets (all three by default). The x86
# preset's release carries the 64-bit program too, which is built first.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(x86 x64 host)
if [[ " ${presets[*]} " =~ " x86 " ]]; then
    cmake --preset x64 >/dev/null
    cmake --build --preset x64 --target pellavo
fi
for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
