#!/usr/bin/env bash
# A test program run through tools/wine-exec where no Wine server runs yet: its output ends
# when the program ends, even while another program keeps the prefix's server running (as
# the other tests of a run do), so that the test runner is not left waiting for it.
# Usage: wine_exec_output.sh <source-dir>
set -u
source=$1
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
cleanup() {
    wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "0 passed, 1 failed"
    exit 1
}
now() { date +%s%N; }

{
    "$source/tools/wine-exec" "$work" cmd /c echo hello
    now >"$work/program-ended"
    # Another program of the prefix, busy for a while; its own output goes elsewhere.
    (sleep 20 | wine cmd /c "set /p line=") </dev/null >/dev/null 2>&1 &
} 2>&1 | {
    cat >"$work/output"
    now >"$work/output-ended"
}
grep -q hello "$work/output" || fail "the program did not run: $(cat "$work/output")"
held=$((($(cat "$work/output-ended") - $(cat "$work/program-ended")) / 1000000))
[ "$held" -lt 5000 ] || fail "the output stayed open ${held} ms after the program ended"
echo "1 passed, 0 failed"
