#!/bin/sh
# Fails when the program imports a DLL or function outside the allowed list,
# or, for the 32-bit program, when its PE header does not say subsystem 4.0
# (Windows GUI) and OS version 4.0, which Windows 95 needs to start it.
# Usage: check-program-imports.sh OBJDUMP PROGRAM ALLOWED_LIST
objdump=$1 program=$2 allowed=$3
header=$("$objdump" -p "$program") || exit 1
status=0
imports=$(echo "$header" | awk '
    /^[[:space:]]*DLL Name:/ { dll = $3; next }
    dll != "" && /^[[:space:]]*$/ { dll = ""; next }
    dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print toupper(dll) " " $3 }')
for entry in $(echo "$imports" | tr ' ' '!'); do
    if ! grep -v '^#' "$allowed" | awk '{ print toupper($1) "!" $2 }' | grep -qxF "$entry"; then
        echo "import check: $program imports $entry, which is not in $allowed" >&2
        status=1
    fi
done
[ -n "$imports" ] || { echo "import check: no imports found in $program" >&2; status=1; }
if echo "$header" | grep -q '^Magic[[:space:]]*010b'; then
    for field in MajorOSystemVersion:4 MinorOSystemVersion:0 MajorSubsystemVersion:4 \
                 MinorSubsystemVersion:0 Subsystem:00000002; do
        name=${field%:*} want=${field#*:}
        got=$(echo "$header" | awk -v n="$name" '$1 == n { print $2 }')
        if [ "$got" != "$want" ]; then
            echo "PE header check: $program has $name $got, expected $want" >&2
            status=1
        fi
    done
fi
exit $status
