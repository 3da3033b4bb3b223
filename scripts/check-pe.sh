#!/usr/bin/env bash
# Checks that an exe is a PE image of the expected machine that imports only
# Windows system DLLs (so it runs on a bare Windows without any runtime), and no
# drawing library: the clock paints its frames itself.
set -uo pipefail
exe="$1"
expected="$2"  # pei-x86-64 or pei-i386
objdump_tool="$3"
allowed='^(kernel32|user32|gdi32|winmm|shell32|oleaut32|ole32|advapi32|msvcrt|comctl32|comdlg32|ws2_32|mswsock)\.dll$'
format=$("$objdump_tool" -f "$exe" 2>/dev/null | sed -n 's/.*file format \(.*\)$/\1/p')
if [[ "$format" != "$expected" ]]; then
    echo "FAIL $exe: format '$format', expected '$expected'"
    exit 1
fi
bad=0
while read -r dll; do
    if ! echo "$dll" | tr '[:upper:]' '[:lower:]' | grep -Eq "$allowed"; then
        echo "FAIL $exe imports $dll"
        bad=1
    fi
done < <("$objdump_tool" -p "$exe" | sed -n 's/.*DLL Name: //p')
[[ $bad -eq 0 ]] && echo "ok   $exe: $format, system DLLs only"
exit $bad
