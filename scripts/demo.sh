#!/bin/bash
# The main job, shown end to end: builds the program, makes a fresh Windows 95
# prefix holding the sample machine of sample/, runs sqvunins.exe, carries out
# the next start of Windows and reports what was removed and what remained.
# With a display (DISPLAY set) the dialogs appear for you to use; without
# one they run on a virtual display and the demo's driver presses Uninstall
# and Restart. On a fresh Debian 12 machine (as root) it first installs what
# is missing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/platform.sh"
started=$(date +%s)

install_packages
choose_test_arch

echo "== building the 32-bit program"
build_product
ls -l "$ROOT/build/i686/sqvunins.exe" | awk '{ print "   " $NF ": " $5 " bytes" }'

echo "== building the program and the demo's driver for $TEST_ARCH Windows, which this machine's Wine runs"
build_test_tree demo_driver
TREE=$TEST_TREE
DEMO="$ROOT/build/demo"
PREFIX="$DEMO/wineprefix"

echo "== making a fresh Windows 95 prefix in $PREFIX"
mkdir -p "$DEMO"
rm -rf "$DEMO/screenshots"
make_prefix "$PREFIX"

mode=user
[ -z "${DISPLAY:-}" ] && mode=auto
start_virtual_display
trap 'stop_server "$PREFIX"; stop_virtual_display' EXIT
# One Wine server from the set-up to the report.
start_server "$PREFIX"

export SQV_SAMPLE_DIR="$ROOT/sample" SQV_SCREENSHOT_DIR="$DEMO/screenshots"

echo "== installing the sample machine: registry, files, filter modules"
run_in_prefix "$PREFIX" "$DEMO" "$TREE/demo_driver.exe" install
if [ $mode = user ]; then
    echo "== running sqvunins.exe on your display ($DISPLAY)"
    echo "   use it as you like: Uninstall, then Restart, Shutdown or Cancel"
else
    echo "== running sqvunins.exe on a virtual display; the demo's driver presses the buttons"
fi
run_in_prefix "$PREFIX" "$DEMO" "$TREE/demo_driver.exe" uninstall $mode
echo "== the next start of Windows: wineboot -r carries out WinInit.INI"
WINEPREFIX=$PREFIX WINEDEBUG=-all timeout 120 "$WINE" wineboot -r >"$DEMO/wineboot.txt" 2>&1 </dev/null || true
echo "== report"
run_in_prefix "$PREFIX" "$DEMO" "$TREE/demo_driver.exe" report
echo "== done in $(( $(date +%s) - started )) s"
