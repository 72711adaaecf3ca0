#!/usr/bin/env bash
# The program folder a user copies: the program without its debug information (which stays
# beside the build, linked by name), and no debug files of any kind.
# Usage: program_folder.sh OBJDUMP DIST_DIR DEBUG_FILE
set -u
objdump=$1 dist=$2 debug=$3
fail() { echo "FAIL: $*"; exit 1; }
exe="$dist/Tolvex.exe"
[ -f "$exe" ] || fail "$exe is missing"
size=$(stat -c %s "$exe")
[ "$size" -lt $((3 * 1024 * 1024)) ] || fail "$exe is $size bytes, 3 MiB at most"
sections=$("$objdump" -h "$exe") || fail "$exe cannot be read"
! grep -q '\.debug_' <<<"$sections" || fail "$exe carries debug sections"
grep -q '\.gnu_debuglink' <<<"$sections" || fail "$exe has no link to its debug file"
"$objdump" -h "$debug" | grep -q '\.debug_info' || fail "$debug holds no debug information"
extra=$(find "$dist" -name '*.debug' -o -name '*.pdb' -o -name '*.map')
[ -z "$extra" ] || fail "debug files in the program folder: $extra"
echo "1 passed, 0 failed"
