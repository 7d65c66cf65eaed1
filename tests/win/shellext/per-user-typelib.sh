#!/usr/bin/env bash
# Per-user registration registers the type library with the automation library's
# per-user functions, per-machine registration with the machine-wide ones. Wine has the
# per-user functions but writes machine-wide and says so in a FIXME on its "ole"
# channel, so the calls are seen there.
# Usage: per-user-typelib.sh WINE-EXEC LARKSPAN.DLL WORK-FOLDER
set -euo pipefail
wine_exec=$1 dll=$2 work=$3
mkdir -p "$work"
cp "$dll" "$work/Larkspan.dll"
copy="Z:$(realpath "$work/Larkspan.dll" | tr / '\\')"

# The FIXME lines that one regsvr32 run writes.
fixmes() {
  WINEDEBUG=fixme+ole "$wine_exec" regsvr32 /s "$@" "$copy" 2>&1 >/dev/null |
    grep -o 'TypeLibForUser.*system-wide' || true
}

status=0
expect() {   # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAILED: $1: expected [$2], got [$3]"
    status=1
  fi
}
expect "per-user registration" \
  "TypeLibForUser (*) registering the typelib system-wide" \
  "$(fixmes /n /i:user | sed 's/(.*)/(*)/')"
expect "per-user unregistration" \
  "TypeLibForUser *, 1, 0, 0x409, 3 unregistering the typelib system-wide" \
  "$(fixmes /u /n /i:user | sed 's/ForUser [^,]*,/ForUser *,/')"
expect "per-machine registration" "" "$(fixmes)"
expect "per-machine unregistration" "" "$(fixmes /u)"
exit $status
