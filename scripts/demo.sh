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
if [ -z "${DISPLAY:-}" ]; then
    mode=auto
    for number in $(seq 90 130); do
        [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$number"
    sleep 1
fi
cleanup() {
    WINEPREFIX=$PREFIX "$WINESERVER" -k >/dev/null 2>&1 || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
# One Wine server from the set-up to the report.
start_server "$PREFIX"

export SQV_SAMPLE_DIR="$ROOT/sample" SQV_SCREENSHOT_DIR="$DEMO/screenshots"
# run_in_prefix PROGRAM ARGS...: output to a file, shown when it ends.
run_in_prefix() {
    local status=0
    WINEPREFIX=$PREFIX WINEDEBUG=-all timeout 900 "$WINE" "$@" >"$DEMO/output.txt" 2>"$DEMO/errors.txt" \
        </dev/null || status=$?
    cat "$DEMO/output.txt"
    return $status
}

echo "== installing the sample machine: registry, files, filter modules"
run_in_prefix "$TREE/demo_driver.exe" install
if [ $mode = user ]; then
    echo "== running sqvunins.exe on your display ($DISPLAY)"
    echo "   use it as you like: Uninstall, then Restart, Shutdown or Cancel"
else
    echo "== running sqvunins.exe on a virtual display; the demo's driver presses the buttons"
fi
run_in_prefix "$TREE/demo_driver.exe" uninstall $mode
echo "== the next start of Windows: wineboot -r carries out WinInit.INI"
WINEPREFIX=$PREFIX WINEDEBUG=-all timeout 120 "$WINE" wineboot -r >"$DEMO/wineboot.txt" 2>&1 </dev/null || true
echo "== report"
run_in_prefix "$TREE/demo_driver.exe" report
echo "== done in $(( $(date +%s) - started )) s"
