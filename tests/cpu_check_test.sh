#!/bin/bash
# The 80386 check must fail on every later instruction and on code that the
# i686 compiler makes by default, and pass on the same code built for the
# 80386 and on the program itself.
# Usage: cpu_check_test.sh CHECK_SCRIPT PROGRAM
set -u
check=$1 program=$2
cc=i686-w64-mingw32-gcc objdump=i686-w64-mingw32-objdump
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() { # expect pass|fail NAME FILE
    local want=$1 name=$2 file=$3 got=pass
    sh "$check" "$objdump" "$file" 2>"$work/out" || got=fail
    if [ "$got" != "$want" ]; then
        echo "FAILED: $name: expected the check to $want, it did $got"
        cat "$work/out"
        failures=$((failures + 1))
    else
        echo "ok: $name: $want"
    fi
}

# One instruction per row, each in a function of its own: what an 80386
# lacks, from the 486 to SSE, and the P6's multi-byte nop.
while read -r name instruction; do
    [ -z "$name" ] && continue
    printf '.text\n.globl f\nf:\n\t%s\n\tret\n' "$instruction" >"$work/$name.s"
    $cc -c -o "$work/$name.o" "$work/$name.s" || { echo "FAILED: $name does not assemble"; failures=$((failures + 1)); continue; }
    expect fail "$name" "$work/$name.o"
done <<'ROWS'
bswap       bswap %eax
cmpxchg     cmpxchg %ecx, (%edx)
xadd        xadd %eax, (%edx)
invlpg      invlpg (%eax)
cpuid       cpuid
rdtsc       rdtsc
cmpxchg8b   cmpxchg8b (%esi)
cmove       cmove %ecx, %eax
fcmovb      fcmovb %st(1), %st
fcomi       fcomi %st(1), %st
fucomip     fucomip %st(1), %st
ud2         ud2
nopl        nopl 0(%eax)
endbr32     endbr32
emms        emms
movq_mmx    movq %mm0, %mm1
movd_xmm    movd %eax, %xmm0
fisttp      fisttpl (%eax)
ROWS

# What the compiler makes: an i686 build of a plain minimum and switch uses
# cmov; the same source for the 80386 must pass.
cat >"$work/minimum.c" <<'C'
int Smaller(int a, int b) { return a < b ? a : b; }
unsigned Pick(unsigned a, unsigned b, unsigned c) { return a > b ? c : a; }
C
$cc -O2 -march=i686 -c -o "$work/minimum-i686.o" "$work/minimum.c"
expect fail "C code built for i686" "$work/minimum-i686.o"
$cc -O2 -march=i386 -c -o "$work/minimum-i386.o" "$work/minimum.c"
expect pass "the same C code built for the 80386" "$work/minimum-i386.o"

# Every 80386 and 80387 form that ordinary code uses passes.
printf '.text\n.globl f\nf:\n\tpush %%ebp\n\tmovzbl (%%eax), %%ecx\n\timul $3, %%ecx, %%edx\n\tsete %%al\n\tshld $2, %%eax, %%edx\n\trep stosl\n\tnop\n\tfldl (%%eax)\n\tfucompp\n\tfnstsw %%ax\n\tsahf\n\tleave\n\tret\n' >"$work/i386.s"
$cc -c -o "$work/i386.o" "$work/i386.s"
expect pass "80386 and 80387 instructions" "$work/i386.o"

expect pass "the program" "$program"

[ "$failures" -eq 0 ] && echo "all rows as expected" && exit 0
exit 1
