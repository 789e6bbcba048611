#!/usr/bin/env bash
# Runs the 32-bit program's tests where 32-bit code can run: this machine's
# kernel cannot, so an emulated 64-bit PC (../shared/tools/qemu32, Wine with
# WoW64, as on 64-bit Windows) runs the x86 build's core_tests, win_tests and
# e2e_tests, and the 32-bit release installer in both modes. Prints a
# ctest-like summary and fails on any failure. It takes about 15 minutes, 30
# on a machine that has yet to build the guest and the x86 tests: run it
# before every release and after any change to the build, the imports, the
# registry or COM code. Given test names (core_tests win_tests e2e_tests installer),
# it runs those alone; GTEST_FILTER, when set, reaches the test programs.
# Env: QEMU32_TOOLS (default ../shared/tools/qemu32 beside the project),
# QEMU32_HOME (where the guest lives, default /var/cache/qemu32).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools=${QEMU32_TOOLS:-$root/../shared/tools/qemu32}
build=build/x86-tests

bash scripts/setup.sh
# The release installer carries the 64-bit program beside the 32-bit one.
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target pellavo
cmake --preset x86 -B "$build" -DPELLAVO_X86_TESTS=ON >/dev/null
cmake --build "$build" -j 2
[ -f "${QEMU32_HOME:-/var/cache/qemu32}/ready" ] || bash "$tools/build-guest.sh"

# What the guest needs, at the paths the test programs were built with: the
# guest copies it to this same folder on a disk of its own, since a program
# started from the shared folder may not run.
stage=$root/build/x86-guest
rm -rf "$stage"
mkdir -p "$stage/tree"
copy() {
    local path
    for path in "$@"; do
        mkdir -p "$stage/tree/$(dirname "$path")"
        cp -a "$path" "$stage/tree/$path"
    done
}
copy "$build/pellavo.exe" "$build/local" "$build/help_en.html" "$build/help_ru.html" \
    "$build/Pellavo-1.0-setup.exe" "$build/tests/core_tests.exe" "$build/tests/win_tests.exe" "$build/tests/local" \
    "$build/tests/e2e/e2e_tests.exe" "$build/tests/e2e/open_recorder.exe" "$build/tests/e2e/drop_files.exe" \
    "$build/tests/installer/run_to_end.exe" build/x64/pellavo.exe \
    tests/e2e/data tests/installer/installer_test.sh tests/wine/run-in-wine.sh tests/wine/expect.sh samples/sunset.jpg

cat >"$stage/run.sh" <<EOF
root='$root'
build='$build'
only='${*:-core_tests win_tests e2e_tests installer}'
${GTEST_FILTER:+export GTEST_FILTER='$GTEST_FILTER'}
EOF
cat >>"$stage/run.sh" <<'EOF'
mkdir -p "$root" && cp -a /mnt/work/tree/. "$root/" && cd "$root" || exit 99
# With the null graphics driver a crash dialog would wait for ever.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
export WINEDLLOVERRIDES="mscoree,mshtml="
# Every program runs several times slower here: the tests' limits on a
# child process grow to match.
export PELLAVO_TEST_TIME_SCALE=8
names=() results=() times=()
run() {
    local name=$1 start log=/mnt/work/$1.log
    shift
    [[ " $only " == *" $name "* ]] || return 0
    start=$(date +%s)
    if timeout 3600 "$@" >"$log" 2>&1; then results+=(Passed); else results+=("***Failed"); fi
    names+=("$name") times+=($(($(date +%s) - start)))
    echo "== $name: ${results[-1]} in ${times[-1]} s"
    grep -E '^\[  (PASSED|FAILED)  \]|^\[==========\]|^(ok|FAIL):' "$log" | tail -n 40
}
run core_tests wine "$build/tests/core_tests.exe"
run win_tests wine "$build/tests/win_tests.exe"
run e2e_tests wine "$build/tests/e2e/e2e_tests.exe" "--pellavo=$root/$build/pellavo.exe"
run installer bash tests/installer/installer_test.sh "$build/Pellavo-1.0-setup.exe" build/x64/pellavo.exe \
    "$build/tests/installer" /root/installer-test samples/sunset.jpg
[ ${#names[@]} -gt 0 ] || { echo "no test named: $only"; exit 1; }
failed=0
echo
for i in "${!names[@]}"; do
    printf '%d/%d Test #%d: %-12s ..... %-9s %5d sec\n' $((i + 1)) ${#names[@]} $((i + 1)) "${names[i]}" \
        "${results[i]}" "${times[i]}"
    [ "${results[i]}" = Passed ] || failed=$((failed + 1))
done
echo
echo "$(( (${#names[@]} - failed) * 100 / ${#names[@]} ))% tests passed, $failed tests failed out of ${#names[@]} (32-bit, emulated)"
exit "$failed"
EOF

start=$(date +%s)
status=0
bash "$tools/run-in-guest.sh" "$stage" 'bash /mnt/work/run.sh' || status=$?
echo "scripts/test-x86.sh: the guest's run took $(($(date +%s) - start)) s; each test's whole output is in $stage/*.log"
exit "$status"
