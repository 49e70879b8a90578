#!/bin/bash
# Benchmark, not a test: the INF step over 2,000 generated INF files (1 KB to
# 200 KB) against the platform's limit, a raw ReadFile of the same files in
# 64 KB blocks in the same process, and against grep -lF on the same folder;
# then the size of sqvunins.exe and whether it imports any heap function.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/platform.sh"
install_packages
choose_test_arch

echo "== building"
build_product
build_test_tree inf_benchmark
TREE=$TEST_TREE

BENCH="$ROOT/build/benchmark"
PREFIX="$BENCH/wineprefix"
if [ ! -d "$PREFIX/drive_c" ]; then
    echo "== making a Windows 95 prefix in $PREFIX"
    make_prefix "$PREFIX"
fi
trap 'WINEPREFIX=$PREFIX "$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
start_server "$PREFIX"
run_in_prefix() {
    WINEPREFIX=$PREFIX WINEDEBUG=-all timeout 600 "$WINE" "$@" >"$BENCH/output.txt" 2>"$BENCH/errors.txt" </dev/null
    cat "$BENCH/output.txt"
}

FOLDER="$PREFIX/drive_c/infbench"
rm -rf "$FOLDER"
echo "== generating the INF folder"
run_in_prefix "$TREE/inf_benchmark.exe" generate 'C:\infbench'

echo "== timing grep -lF (best of 5)"
best_grep=""
for round in 1 2 3 4 5; do
    start=$(date +%s%N)
    grep -lF 'VEN_5A3C&DEV_0C17' "$FOLDER"/*.INF >/dev/null || true
    took=$(( ($(date +%s%N) - start) / 1000 ))
    if [ -z "$best_grep" ] || [ "$took" -lt "$best_grep" ]; then best_grep=$took; fi
done
echo "== timing the raw read and the INF step in one process (best of 5 each)"
run_in_prefix "$TREE/inf_benchmark.exe" measure 'C:\infbench' >"$BENCH/measured.txt"
cat "$BENCH/measured.txt"
raw=$(awk '$1 == "raw_read_ms" { print $2 }' "$BENCH/measured.txt")
step=$(awk '$1 == "inf_step_ms" { print $2 }' "$BENCH/measured.txt")
awk -v raw="$raw" -v step="$step" -v grep_us="$best_grep" 'BEGIN {
    printf "grep_ms %.1f\n", grep_us / 1000
    printf "INF step / raw read: %.2fx (goal: within 1.5x)\n", step / raw
    printf "INF step / grep -lF: %.2fx\n", step / (grep_us / 1000)
}'

echo "== the program"
exe="$ROOT/build/i686/sqvunins.exe"
echo "sqvunins.exe: $(stat -c %s "$exe") bytes, bitmap included (goal: under 40,960)"
heap=$(i686-w64-mingw32-objdump -p "$exe" |
    grep -ciE '[[:space:]](Heap|Global|Local|Virtual)(Alloc|ReAlloc|Create)|[[:space:]](malloc|calloc|realloc)$' || true)
echo "heap allocation functions imported: $heap"
