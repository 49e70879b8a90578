#!/bin/bash
# Benchmark, not a test: the INF step over 2,000 generated INF files (1 KB to
# 200 KB) against the platform's limit, a raw ReadFile of the same files in
# 64 KB blocks in the same process, timed in turns (25 pairs, after one of
# each), and against grep -lF on the same folder; the whole uninstall on the
# sample machine, step by step; then the size of sqvunins.exe and whether it
# imports any heap function. It says which build it measured: where the
# kernel runs no 32-bit code, the x86_64 build of the same sources.
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
trap 'stop_server "$PREFIX"' EXIT
start_server "$PREFIX"

FOLDER="$PREFIX/drive_c/infbench"
rm -rf "$FOLDER"
echo "== generating the INF folder"
run_in_prefix "$PREFIX" "$BENCH" "$TREE/inf_benchmark.exe" generate 'C:\infbench'

echo "== timing grep -lF (best of 5)"
best_grep=""
for round in 1 2 3 4 5; do
    start=$(date +%s%N)
    grep -lF 'VEN_5A3C&DEV_0C17' "$FOLDER"/*.INF >/dev/null || true
    took=$(( ($(date +%s%N) - start) / 1000 ))
    if [ -z "$best_grep" ] || [ "$took" -lt "$best_grep" ]; then best_grep=$took; fi
done
echo "== timing the raw read and the INF step in turns, in one process"
run_in_prefix "$PREFIX" "$BENCH" "$TREE/inf_benchmark.exe" measure 'C:\infbench' >"$BENCH/measured.txt"
cat "$BENCH/measured.txt"
step=$(awk '$1 == "inf_step_ms" { print $2 }' "$BENCH/measured.txt")
awk -v step="$step" -v grep_us="$best_grep" \
    -v median="$(awk '$1 == "ratio_median" { print $2 }' "$BENCH/measured.txt")" \
    -v lowest="$(awk '$1 == "ratio_lowest" { print $2 }' "$BENCH/measured.txt")" \
    -v highest="$(awk '$1 == "ratio_highest" { print $2 }' "$BENCH/measured.txt")" 'BEGIN {
    printf "grep_ms %.1f\n", grep_us / 1000
    printf "INF step / raw read: %.2fx, median of the pairs (lowest %.2fx, highest %.2fx; goal: within 1.1x)\n",
        median, lowest, highest
    printf "INF step / grep -lF: %.2fx\n", step / (grep_us / 1000)
}'
if [ "$TEST_ARCH" != i686 ]; then
    echo "   This kernel runs no 32-bit code: the figures are of the x86_64 build of the same"
    echo "   sources, not of the shipped i686 (-march=i386) program."
fi

echo "== the whole uninstall on the sample machine, step by step"
export SQV_SAMPLE_DIR=$ROOT/sample
run_in_prefix "$PREFIX" "$BENCH" "$TREE/inf_benchmark.exe" steps

echo "== the program"
exe="$ROOT/build/i686/sqvunins.exe"
echo "sqvunins.exe: $(stat -c %s "$exe") bytes, bitmap included (goal: under 40,960)"
heap=$(i686-w64-mingw32-objdump -p "$exe" |
    grep -ciE '[[:space:]](Heap|Global|Local|Virtual)(Alloc|ReAlloc|Create)|[[:space:]](malloc|calloc|realloc)$' || true)
echo "heap allocation functions imported: $heap"
