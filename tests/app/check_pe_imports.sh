#!/usr/bin/env bash
# The installer is one PE file of the expected machine, a Windows GUI program
# whose imports are system libraries only (no compiler runtime DLLs).
#
#   check_pe_imports.sh OBJDUMP EXE FORMAT      FORMAT: pei-i386 or pei-x86-64
set -euo pipefail
objdump=$1 exe=$2 format=$3

allowed=(advapi32 bcrypt comctl32 comdlg32 crypt32 dwmapi gdi32 imm32 iphlpapi kernel32 msimg32
  msvcrt netapi32 normaliz ole32 oleaut32 rpcrt4 secur32 shell32 shlwapi urlmon user32 userenv
  uxtheme version winmm wldap32 ws2_32 wtsapi32)

dump=$("$objdump" -p "$exe")
status=0
grep -q "file format $format\$" <<<"$dump" || {
  echo "FAIL: $exe is not $format: $(grep -m1 'file format' <<<"$dump")" >&2
  status=1
}
grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]+\(Windows GUI\)' <<<"$dump" || {
  echo "FAIL: subsystem is not Windows GUI: $(grep -m1 '^Subsystem' <<<"$dump")" >&2
  status=1
}
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "FAIL: no imports found" >&2; status=1; }
for dll in $dlls; do
  known=0
  for name in "${allowed[@]}"; do [ "$dll" = "$name.dll" ] && known=1; done
  [ "$known" -eq 1 ] || { echo "FAIL: imports $dll, which is not a system library" >&2; status=1; }
done
[ "$status" -eq 0 ] && echo "$(basename "$exe"): $format, Windows GUI, imports:" $dlls
exit "$status"
