#!/usr/bin/env bash
# Runs a fuzz target for a bounded time on a scratch copy of its seeds, so that
# the committed corpus never grows. A finding fails the run; its input is kept
# in the findings folder.
set -euo pipefail
fuzzer=$1
seeds=$2
findings=$3
seconds=$4

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -R "$seeds/." "$scratch"
mkdir -p "$findings"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/$(basename "$fuzzer")-" "$scratch"
