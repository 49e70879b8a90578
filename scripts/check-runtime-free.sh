#!/bin/sh
# Fails when the engine needs more than the Windows API: an import from a DLL
# other than the four system ones, or code that start-up code would have to
# run first (static constructors and destructors).
# Usage: check-runtime-free.sh OBJDUMP LINKED_DLL STATIC_LIBRARY
objdump=$1 dll=$2 library=$3
status=0
imports=$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr a-z A-Z | sort -u)
for name in $imports; do
    case $name in
    KERNEL32.DLL | USER32.DLL | ADVAPI32.DLL | SHELL32.DLL) ;;
    *) echo "runtime-free check: $dll imports $name" >&2; status=1 ;;
    esac
done
if "$objdump" -h "$library" | grep -E '[[:space:]]\.(ctors|dtors|init_array|fini_array)' >&2; then
    echo "runtime-free check: $library has static constructors or destructors" >&2
    status=1
fi
exit $status
