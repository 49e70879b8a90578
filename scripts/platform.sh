# Shared by the test and demo commands: installs what is missing, picks the
# Windows architecture that this machine's Wine can run, and makes prefixes.

PACKAGES="cmake wine wine32:i386 wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64
          mingw-w64-tools xvfb xauth mtools xorriso zip"

install_packages() {
    local missing=""
    for package in $PACKAGES; do
        dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    echo "== installing:$missing"
    dpkg --add-architecture i386
    apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q $PACKAGES >/dev/null
}

# The product is a 32-bit program. Some kernels cannot run 32-bit Linux code,
# and then 32-bit Wine cannot start: the test programs are then built from
# the same sources for 64-bit Windows and run in a 64-bit prefix.
choose_test_arch() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        TEST_ARCH=i686 WINE=/usr/lib/wine/wine WINE_ARCH=win32
    else
        TEST_ARCH=x86_64 WINE=/usr/lib/wine/wine64 WINE_ARCH=win64
    fi
    WINESERVER=/usr/lib/wine/wineserver
}

# make_prefix DIR: a fresh prefix that reports Windows 95 (see
# tests/prefix-settings.reg). Output goes to files: a pipe would never close.
make_prefix() {
    local prefix=$1
    if [ -d "$prefix" ]; then
        stop_server "$prefix"
        rm -rf "$prefix"
    fi
    mkdir -p "$prefix"
    WINEPREFIX=$prefix WINEARCH=$WINE_ARCH WINEDEBUG=-all \
        timeout 300 "$WINE" wineboot -i >"$prefix.boot.log" 2>&1 </dev/null
    cp "$ROOT/tests/prefix-settings.reg" "$prefix/drive_c/prefix-settings.reg"
    WINEPREFIX=$prefix WINEDEBUG=-all \
        timeout 120 "$WINE" regedit /S 'C:\prefix-settings.reg' >>"$prefix.boot.log" 2>&1 </dev/null
    rm "$prefix/drive_c/prefix-settings.reg"
    # Wine's own fonts (Marlett, which draws the caption buttons, MS Sans
    # Serif, ...): Debian's Wine looks for them in a folder where the
    # fonts-wine package does not put them, and falls back to other fonts
    # (an "r" for the close button's cross). A Windows 95 machine has them in
    # its Fonts folder, where Wine finds them too.
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
    # Let this session end, so that the settings are on disk.
    WINEPREFIX=$prefix "$WINESERVER" -w
}

# build_product: the 32-bit program, its language module and build checks.
build_product() {
    cmake --no-warn-unused-cli -S "$ROOT" -B "$ROOT/build/i686" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DSQV_BUILD_TESTS=OFF >/dev/null
    cmake --build "$ROOT/build/i686" -j "$(nproc)" >/dev/null
}

# build_test_tree [TARGET...]: the program and the test programs for the
# Windows that this machine's Wine runs, in $TEST_TREE; all targets when
# none are named.
build_test_tree() {
    TEST_TREE="$ROOT/build/tests-$TEST_ARCH"
    cmake --no-warn-unused-cli -S "$ROOT" -B "$TEST_TREE" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$TEST_ARCH.cmake" -DSQV_BUILD_TESTS=ON \
        -DSQV_WINE="$WINE" -DSQV_WINEPREFIX="$TEST_TREE/wineprefix" \
        -DSQV_PRODUCT_DIR="$ROOT/build/i686" >/dev/null
    local targets=""
    for target in "$@"; do targets="$targets --target $target"; done
    cmake --build "$TEST_TREE" $targets -j "$(nproc)" >/dev/null
}

# run_in_prefix PREFIX LOG_DIR PROGRAM ARGS...: runs a Windows program in the
# prefix, at most 15 minutes. Its output goes to LOG_DIR/output.txt and
# errors.txt (a pipe from Wine never closes: Wine's services inherit it) and
# is shown when it ends; returns the program's exit status.
run_in_prefix() {
    local prefix=$1 logs=$2 status=0
    shift 2
    mkdir -p "$logs"
    WINEPREFIX=$prefix WINEDEBUG=-all timeout 900 "$WINE" "$@" >"$logs/output.txt" 2>"$logs/errors.txt" \
        </dev/null || status=$?
    cat "$logs/output.txt"
    return $status
}

# stop_server PREFIX: ends the prefix's Wine server and every program in it.
stop_server() {
    WINEPREFIX=$1 "$WINESERVER" -k >/dev/null 2>&1 || true
}

# start_virtual_display: when no DISPLAY is set, starts an Xvfb of our own
# and sets DISPLAY to it (VIRTUAL_DISPLAY_PID names it for stop_virtual_display).
start_virtual_display() {
    VIRTUAL_DISPLAY_PID=""
    [ -n "${DISPLAY:-}" ] && return 0
    local number
    for number in $(seq 90 130); do
        [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    VIRTUAL_DISPLAY_PID=$!
    export DISPLAY=":$number"
    for attempt in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$number" ] && return 0
        sleep 0.1
    done
}

stop_virtual_display() {
    [ -n "${VIRTUAL_DISPLAY_PID:-}" ] && kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null || true
}

# run_tests PREFIX TEST_TREE [CTEST_ARGS...]: every test, with one Wine
# server for the whole run (test.sh runs it without root's permission
# override, so that read-only files are read-only for Wine too).
run_tests() {
    local prefix=$1 tree=$2 status=0
    shift 2
    start_server "$prefix"
    ctest --test-dir "$tree" --output-on-failure "$@" || status=$?
    stop_server "$prefix"
    return $status
}

# start_server PREFIX: one Wine server that stays until it is killed. A new
# server session would start Wine's services again, and keys under
# HKEY_DYN_DATA and HKEY_USERS\Default live only as long as it does.
start_server() {
    for attempt in 1 2 3 4 5; do
        WINEPREFIX=$1 "$WINESERVER" -p 2>/dev/null && return 0
        sleep 1 # the server of the prefix's set-up is still going away
    done
    return 1
}
