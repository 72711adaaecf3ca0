#!/usr/bin/env bash
# The program folder a user copies: the program without its debug information (which stays
# beside the build, linked by name), and no debug files of any kind. A program removed from
# the folder, or older than the linked one, is made again by the next build.
# Usage: program_folder.sh OBJDUMP DIST_DIR DEBUG_FILE CMAKE BUILD_DIR LINKED_PROGRAM
set -u
objdump=$1 dist=$2 debug=$3 cmake=$4 build=$5 linked=$6
fail() { echo "FAIL: $*"; exit 1; }
exe="$dist/Tolvex.exe"
[ -f "$exe" ] || fail "$exe is missing"

# Kept aside, so that a build that does not bring them back leaves the folder as it was for
# the tests that copy it.
keep=$(mktemp -d)
trap 'rm -rf "$keep"' EXIT
cp -p "$exe" "$debug" "$keep/"
restore() {
    [ -f "$exe" ] || cp -p "$keep/Tolvex.exe" "$exe"
    [ -f "$debug" ] || cp -p "$keep/$(basename "$debug")" "$debug"
}
rebuild() {
    "$cmake" --build "$build" --target dist_program >"$keep/build.log" 2>&1 ||
        { cat "$keep/build.log"; restore; fail "the build of the program folder failed"; }
}
rm -f "$exe" "$debug"
rebuild
[ -f "$exe" ] || { restore; fail "a build after the program was removed left the folder without it"; }
[ -f "$debug" ] || { restore; fail "a build after the debug file was removed did not make it again"; }
touch "$linked" # as a new link leaves it
rebuild
[ "$exe" -ot "$linked" ] && fail "a program older than the linked one was not made again"
[ "$debug" -ot "$linked" ] && fail "a debug file older than the linked program was not made again"

size=$(stat -c %s "$exe")
[ "$size" -lt $((3 * 1024 * 1024)) ] || fail "$exe is $size bytes, 3 MiB at most"
sections=$("$objdump" -h "$exe") || fail "$exe cannot be read"
! grep -q '\.debug_' <<<"$sections" || fail "$exe carries debug sections"
grep -q '\.gnu_debuglink' <<<"$sections" || fail "$exe has no link to its debug file"
"$objdump" -h "$debug" | grep -q '\.debug_info' || fail "$debug holds no debug information"
extra=$(find "$dist" -name '*.debug' -o -name '*.pdb' -o -name '*.map')
[ -z "$extra" ] || fail "debug files in the program folder: $extra"
echo "1 passed, 0 failed"
