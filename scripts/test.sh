#!/bin/bash
# Builds the product and runs every test under Wine. On a fresh Debian 12
# machine (as root) it first installs what is missing. Arguments go to ctest
# (for example -R whole_system to run some tests only).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/platform.sh"

install_packages
choose_test_arch

echo "== building the 32-bit product"
build_product

echo "== building the tests for $TEST_ARCH Windows"
build_test_tree
TESTS=$TEST_TREE
PREFIX="$TESTS/wineprefix"

echo "== making a fresh Windows 95 prefix"
make_prefix "$PREFIX"

# The dialog tests need a display: every test runs on a virtual one, so that
# Wine's desktop, started by the first program of the session, has it too.
export SQV_SCREENSHOT_DIR="$TESTS/screenshots"
unset DISPLAY
start_virtual_display
trap 'stop_server "$PREFIX"; stop_virtual_display' EXIT
echo "== running the tests on a virtual display (screenshots in $SQV_SCREENSHOT_DIR)"
# Without root's permission override, so that read-only files are read-only
# for Wine too.
setpriv --bounding-set -dac_override,-dac_read_search \
    bash -c '. "$1/scripts/platform.sh" && choose_test_arch && run_tests "${@:2}"' run-tests \
    "$ROOT" "$PREFIX" "$TESTS" "$@"
