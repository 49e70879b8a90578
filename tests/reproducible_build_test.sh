#!/bin/bash
# Two builds of the same sources in two folders give the same program,
# language module and release disks, byte for byte.
# Usage: reproducible_build_test.sh
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for build in first second-build-elsewhere; do
    cmake --no-warn-unused-cli -S "$ROOT" -B "$work/$build" -DSQV_BUILD_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null &&
        cmake --build "$work/$build" >/dev/null &&
        bash "$ROOT/scripts/make-release-disks.sh" "$work/$build" "$work/$build/release" ||
        { echo "FAILED: build in $build"; exit 1; }
done
failures=0
for file in sqvunins.exe sqvnls.dll release/sqvunins-floppy.img release/sqvunins.iso \
            release/sqvunins.zip release/SHA256SUMS; do
    if cmp "$work/first/$file" "$work/second-build-elsewhere/$file"; then
        echo "ok: $file is the same"
    else
        echo "FAILED: $file differs between two builds"
        failures=$((failures + 1))
    fi
done
exit $((failures != 0))
