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
        WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true
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
