#!/usr/bin/env bash
# Fails when a binary imports a DLL that is not part of Windows (a toolchain runtime such
# as libgcc, libstdc++ or libwinpthread, or anything else that would have to ship beside it).
set -euo pipefail
system_dlls='^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|oleaut32|shell32|shlwapi|user32|uxtheme|version|wininet|ws2_32|rpcrt4|crypt32|bcrypt)\.dll$'
status=0
for binary in "$@"; do
  imports=$(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$imports" ] || { echo "$binary: no import table read"; status=1; continue; }
  while read -r dll; do
    if ! [[ $dll =~ $system_dlls ]]; then
      echo "$binary imports $dll, which is not a Windows DLL"
      status=1
    fi
  done <<< "$imports"
  echo "$(basename "$binary"): $(echo $imports)"
done
exit $status
