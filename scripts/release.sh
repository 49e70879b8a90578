#!/bin/bash
# Builds the program and writes its release disks to build/release/: a
# floppy image, an ISO 9660 image, a zip file and SHA256SUMS. On a fresh
# Debian 12 machine (as root) it first installs what is missing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/platform.sh"

install_packages
echo "== building the 32-bit product"
build_product
echo "== writing the release disks"
bash "$ROOT/scripts/make-release-disks.sh" "$ROOT/build/i686" "$ROOT/build/release"
ls -l "$ROOT/build/release"
cat "$ROOT/build/release/SHA256SUMS"
