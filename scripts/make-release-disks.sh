#!/bin/bash
# Writes the release disks from a product build: a 1.44 MB floppy image
# (FAT12), an ISO 9660 image, a zip file, and SHA256SUMS for the three.
# Every byte follows from the build and SOURCE_DATE_EPOCH (the commit's
# time): fixed file dates, volume serial and volume dates.
# Usage: make-release-disks.sh PRODUCT_BUILD_DIR RELEASE_DIR
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
product=$1 release=$2
: "${SOURCE_DATE_EPOCH:=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || echo 852076800)}"
export SOURCE_DATE_EPOCH TZ=UTC

# The disk's files: 8.3 names, text in CR LF. The German sample module sits
# in a folder of its own: beside the program it would be loaded.
files="$release/files"
rm -rf "$release"
mkdir -p "$files/GERMAN"
cp "$product/sqvunins.exe" "$files/SQVUNINS.EXE"
cp "$product/sqvnls.dll" "$files/GERMAN/SQVNLS.DLL"
sed 's/$/\r/' "$ROOT/release/README.TXT" >"$files/README.TXT"
sed 's/$/\r/' "$ROOT/release/GERMAN.TXT" >"$files/GERMAN/README.TXT"
find "$files" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
entries="README.TXT SQVUNINS.EXE GERMAN"

# Floppy: 1,474,560 bytes, FAT12, a fixed serial number and label.
floppy="$release/sqvunins-floppy.img"
mformat -C -i "$floppy" -f 1440 -v SQVUNINS -N 5A3C0C17 ::
(cd "$files" && mcopy -i "$floppy" -s -m -p $entries ::)

# CD-ROM: ISO 9660 level 1 names; xorriso takes every date from
# SOURCE_DATE_EPOCH.
if ! (cd "$files" && xorriso -as mkisofs -iso-level 1 -V SQVUNINS -o "$release/sqvunins.iso" . \
        2>"$release/xorriso.log"); then
    cat "$release/xorriso.log" >&2
    exit 1
fi
rm "$release/xorriso.log"

# Zip: no extra fields (owner ids, Unix times), entries in a fixed order.
(cd "$files" && zip -q -X -r -D "$release/sqvunins.zip" README.TXT SQVUNINS.EXE GERMAN/README.TXT GERMAN/SQVNLS.DLL)

(cd "$release" && sha256sum sqvunins-floppy.img sqvunins.iso sqvunins.zip >SHA256SUMS)
