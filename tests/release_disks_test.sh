#!/bin/bash
# The release disks read back with their own tools: every file on the
# floppy, the CD image and in the zip is byte for byte the build's, under an
# 8.3 name, the floppy is 1,474,560 bytes of FAT12, the text is plain ASCII
# with CR LF, and SHA256SUMS matches.
# Usage: release_disks_test.sh PRODUCT_BUILD_DIR
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
product=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

bash "$ROOT/scripts/make-release-disks.sh" "$product" "$work/release" || { echo "FAILED: no disks"; exit 1; }
release=$work/release

# What each disk must hold: name on the disk, and the file it must equal.
sed 's/$/\r/' "$ROOT/release/README.TXT" >"$work/README.TXT"
sed 's/$/\r/' "$ROOT/release/GERMAN.TXT" >"$work/GERMAN.TXT"
expected="README.TXT:$work/README.TXT SQVUNINS.EXE:$product/sqvunins.exe
          GERMAN/README.TXT:$work/GERMAN.TXT GERMAN/SQVNLS.DLL:$product/sqvnls.dll"

# compare_tree DISK DIR: DIR holds exactly the expected files.
compare_tree() {
    local disk=$1 dir=$2 want=""
    for entry in $expected; do
        name=${entry%%:*} source=${entry#*:}
        want="$want$name"$'\n'
        cmp -s "$source" "$dir/$name" || fail "$disk: $name differs from the build"
    done
    got=$(cd "$dir" && find . -type f | sed 's|^\./||' | sort)
    [ "$got" = "$(printf '%s' "$want" | sort)" ] || fail "$disk holds: $got"
}

# Floppy: size, FAT12 in the boot sector, the files through mtools.
floppy=$release/sqvunins-floppy.img
[ "$(stat -c %s "$floppy")" = 1474560 ] || fail "floppy is $(stat -c %s "$floppy") bytes"
[ "$(dd if="$floppy" bs=1 skip=54 count=8 status=none)" = "FAT12   " ] || fail "floppy boot sector does not say FAT12"
mkdir "$work/floppy"
mcopy -s -n -i "$floppy" '::*' "$work/floppy/" || fail "mcopy cannot read the floppy"
compare_tree floppy "$work/floppy"
mdir -i "$floppy" -/ -b :: >"$work/mdir" || fail "mdir cannot list the floppy"

# CD image: level 1 names as the image stores them, the files through xorriso.
mkdir "$work/iso"
xorriso -osirrox on -indev "$release/sqvunins.iso" -extract / "$work/iso" >/dev/null 2>&1 ||
    fail "xorriso cannot read the CD image"
chmod -R u+w "$work/iso"
compare_tree "CD image" "$work/iso"
isonames=$(xorriso -indev "$release/sqvunins.iso" -find / 2>/dev/null | sed "s/'//g")
echo "$isonames" | grep -qx /GERMAN/SQVNLS.DLL || fail "CD names: $isonames"
for name in $isonames; do
    base=${name##*/}
    [ "$name" = / ] && continue
    echo "$base" | grep -Eqx '[A-Z0-9_]{1,8}(\.[A-Z0-9_]{0,3})?' || fail "CD name $name is not level 1"
done

# Zip.
mkdir "$work/zip"
(cd "$work/zip" && unzip -q "$release/sqvunins.zip") || fail "unzip cannot read the zip"
compare_tree zip "$work/zip"

# Names and text.
for entry in $expected; do
    name=${entry%%:*}
    echo "${name##*/}" | grep -Eqx '[A-Z0-9_]{1,8}\.[A-Z0-9_]{1,3}' || fail "$name is not an 8.3 name"
done
for text in "$work/README.TXT" "$work/GERMAN.TXT"; do
    LC_ALL=C grep -q '[^[:print:][:space:]]' "$text" && fail "$text is not plain ASCII"
    [ "$(grep -c $'\r$' "$text")" = "$(wc -l <"$text")" ] || fail "$text has a line without CR LF"
done

(cd "$release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"

[ "$failures" -eq 0 ] && echo "release disks hold the build" && exit 0
exit 1
