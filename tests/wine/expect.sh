# Sourced by the shell-driven tests. expect WHAT ACTUAL EXPECTED prints
# "ok: WHAT", or "FAIL: WHAT" with the difference and counts it in failures.
failures=0
expect() {
    local what=$1 actual=$2 expected=$3
    if [ "$actual" == "$expected" ]; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /' || true
        failures=$((failures + 1))
    fi
}
