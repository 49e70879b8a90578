#!/bin/sh
# Fails when any code of a 32-bit program or object holds an instruction that
# an 80386 with an 80387 does not have. Wine runs the program on a modern
# CPU and would never show such an instruction: only this check can.
# Every executable section is disassembled, and each instruction must be on
# the list below: the 80386's own and the x87 instructions up to the 80387.
# Anything else fails: the 486's (bswap, cmpxchg, xadd, invlpg), the
# Pentium's (cpuid, rdtsc, cmpxchg8b), the P6's (cmovcc, fcmovcc, fcomi,
# ud2), multi-byte nops, MMX, SSE and later, and bytes that do not decode.
# Usage: check-cpu-instructions.sh OBJDUMP FILE...
objdump=$1
shift
status=0
for file in "$@"; do
    # The linker ends a program's .text with its two constructor lists, data
    # and not code: each a -1, its entries and a 0. A program without static
    # constructors (check-runtime-free.sh) has exactly these 16 bytes there,
    # and the disassembly stops before them.
    stop=""
    text=$("$objdump" -h "$file" | awk '$2 == ".text" { print $3, $4 }')
    if "$objdump" -f "$file" | grep -q 'file format pei-' && [ -n "$text" ]; then
        size=${text% *} vma=${text#* }
        tables=$(printf '%x' $((0x$vma + 0x$size - 16)))
        bytes=$("$objdump" -s -j .text --start-address=0x$tables "$file" |
                awk '$1 ~ /^[0-9a-f]+$/ && NF >= 5 { print $2 $3 $4 $5 }')
        [ "$bytes" = ffffffff00000000ffffffff00000000 ] && stop=--stop-address=0x$tables
    fi
    listing=$("$objdump" -d -M intel --no-show-raw-insn $stop "$file") || { status=1; continue; }
    echo "$listing" | awk -v file="$file" '
    BEGIN {
        split("aaa aad aam aas adc add and arpl bound bsf bsr bt btc btr bts call " \
              "cbw cwde cwd cdq clc cld cli clts cmc cmp cmps cmpsb cmpsw cmpsd " \
              "daa das dec div enter hlt idiv imul in inc ins insb insw insd int " \
              "int3 into iret iretd iretw ja jae jb jbe jc jcxz jecxz je jg jge jl " \
              "jle jmp jna jnae jnb jnbe jnc jne jng jnge jnl jnle jno jnp jns jnz " \
              "jo jp jpe jpo js jz lahf lar lds lea leave les lfs lgdt lgs lidt " \
              "lldt lmsw lods lodsb lodsw lodsd loop loope loopne loopz loopnz lsl " \
              "lss ltr mov movs movsb movsw movsd movsx movzx mul neg nop not or " \
              "out outs outsb outsw outsd pop popa popad popaw popf popfd popfw " \
              "push pusha pushad pushaw pushf pushfd pushfw rcl rcr ret retf retn " \
              "rol ror sahf sal sar sbb scas scasb scasw scasd seta setae setb " \
              "setbe setc sete setg setge setl setle setna setnae setnb setnbe " \
              "setnc setne setng setnge setnl setnle setno setnp setns setnz seto " \
              "setp setpe setpo sets setz sgdt shl shld shr shrd sidt sldt smsw " \
              "stc std sti stos stosb stosw stosd str sub test verr verw wait xchg " \
              "xlat xlatb xor " \
              "f2xm1 fabs fadd faddp fbld fbstp fchs fclex fnclex fcom fcomp " \
              "fcompp fcos fdecstp fdiv fdivp fdivr fdivrp ffree fiadd ficom " \
              "ficomp fidiv fidivr fild fimul fincstp finit fninit fist fistp " \
              "fisub fisubr fld fld1 fldcw fldenv fldl2e fldl2t fldlg2 fldln2 " \
              "fldpi fldz fmul fmulp fnop fpatan fprem fprem1 fptan frndint frstor " \
              "fsave fnsave fscale fsin fsincos fsqrt fst fstcw fnstcw fstenv " \
              "fnstenv fstp fstsw fnstsw fsub fsubp fsubr fsubrp ftst fucom fucomp " \
              "fucompp fwait fxam fxch fxtract fyl2x fyl2xp1", names, " ")
        for (i in names) allowed[names[i]] = 1
        split("rep repe repz repne repnz lock cs ds es fs gs ss data16 addr16", words, " ")
        for (i in words) prefix[words[i]] = 1
    }
    # Instruction lines: "  401000:<TAB>mnemonic operands"; "..." marks
    # skipped zero bytes between functions.
    /^ *[0-9a-f]+:\t/ {
        text = $0
        sub(/^ *[0-9a-f]+:\t/, "", text)
        if (text == "" || text ~ /^\.\.\./) next
        count = split(text, word, /[ \t]+/)
        n = 1
        while (n < count && (word[n] in prefix)) n++
        mnemonic = word[n]
        operands = ""
        for (k = n + 1; k <= count; k++) operands = operands " " word[k]
        bad = ""
        if (!(mnemonic in allowed)) bad = "not an 80386 instruction"
        # The one-byte nop (0x90) is the 80386s; one with an operand is the
        # P6s multi-byte nop.
        else if (mnemonic == "nop" && operands != "") bad = "multi-byte nop (P6)"
        else if (tolower(text) ~ /(^|[^a-z])[xyz]?mm[0-9]/) bad = "MMX or SSE register"
        if (bad != "") {
            printf "cpu check: %s: %s: %s\n", file, $0, bad
            found++
        }
    }
    END { exit found ? 1 : 0 }' >&2 || status=1
done
exit $status
