#!/bin/bash
# Builds the product and runs every test under Wine. On a fresh Debian 12
# machine (as root) it first installs what is missing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/platform.sh"

install_packages
choose_test_arch

echo "== building the 32-bit product"
cmake --no-warn-unused-cli -S "$ROOT" -B "$ROOT/build/i686" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
    -DSQV_BUILD_TESTS=OFF >/dev/null
cmake --build "$ROOT/build/i686" -j "$(nproc)" >/dev/null

TESTS="$ROOT/build/tests-$TEST_ARCH"
PREFIX="$TESTS/wineprefix"
echo "== building the tests for $TEST_ARCH Windows"
cmake --no-warn-unused-cli -S "$ROOT" -B "$TESTS" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$TEST_ARCH.cmake" \
    -DSQV_BUILD_TESTS=ON -DSQV_WINE="$WINE" -DSQV_WINEPREFIX="$PREFIX" \
    -DSQV_PRODUCT_DIR="$ROOT/build/i686" >/dev/null
cmake --build "$TESTS" -j "$(nproc)" >/dev/null

echo "== making a fresh Windows 95 prefix"
make_prefix "$PREFIX"

# The dialog tests need a display: every test runs on a virtual one, so that
# Wine's desktop, started by the first program of the session, has it too.
# One server for the whole run: a new server session would start Wine's
# services again, and keys under HKEY_DYN_DATA live only as long as it does.
export SQV_SCREENSHOT_DIR="$TESTS/screenshots"
trap 'WINEPREFIX=$PREFIX "$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
echo "== running the tests on a virtual display (screenshots in $SQV_SCREENSHOT_DIR)"
# Without root's permission override, so that read-only files are read-only
# for Wine too.
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    setpriv --bounding-set -dac_override,-dac_read_search bash -c '
    for attempt in 1 2 3 4 5; do
        WINEPREFIX=$1 "$2" -p 2>/dev/null && break
        sleep 1 # the server of the prefix set-up is still going away
    done
    ctest --test-dir "$3" --output-on-failure
    status=$?
    WINEPREFIX=$1 "$2" -k >/dev/null 2>&1
    exit $status' run-tests "$PREFIX" "$WINESERVER" "$TESTS"
