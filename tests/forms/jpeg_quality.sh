#!/usr/bin/env bash
# The JPEG quality of every stored level, measured from outside with ImageMagick: the
# helper program writes one file per level, identify reads back the quality.
# Usage: jpeg_quality.sh <build-dir> <source-dir>
set -euo pipefail
builddir=$(cd "$1" && pwd)
sourcedir=$(cd "$2" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
winout="Z:${out//\//\\}"
timeout 60 "$sourcedir/tools/wine-exec" "$builddir" "$builddir/helpers/JpegLevels.exe" "$winout"
status=0
for pair in 0:100 1:85 2:70 3:40 4:10 9:90; do
    level=${pair%%:*}
    expected=${pair##*:}
    actual=$(identify -format %Q "$out/level$level.jpg" 2>/dev/null || echo missing)
    if [ "$actual" != "$expected" ]; then
        echo "level $level: quality $actual, expected $expected"
        status=1
    else
        echo "level $level: quality $actual"
    fi
done
exit $status
