#!/usr/bin/env bash
# Fails when a binary imports the given DLL.
# Usage: check-not-imported.sh DLL BINARY
set -euo pipefail
dll=$1 binary=$2
imports=$(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "$binary: no import table read"; exit 1; }
if grep -qx "$(echo "$dll" | tr 'A-Z' 'a-z')" <<< "$imports"; then
  echo "$(basename "$binary") imports $dll"
  exit 1
fi
echo "$(basename "$binary"): $(echo $imports)"
