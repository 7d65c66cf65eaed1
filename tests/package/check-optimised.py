#!/usr/bin/env python3
"""check-optimised.py COMPILE_COMMANDS TARGET...: fails unless every source of the named
targets is compiled optimised (its last -O flag is -O2 or -O3) and with NDEBUG, as the
shipped binaries must be."""
import json
import re
import shlex
import sys


def target_of(entry):
    match = re.search(r"CMakeFiles/([^/]+)\.dir/", entry.get("output", "") + " " + entry["command"])
    return match.group(1) if match else None


def main(compile_commands, targets):
    with open(compile_commands) as file:
        entries = [e for e in json.load(file) if target_of(e) in targets]
    faults = []
    for entry in entries:
        words = shlex.split(entry["command"])
        levels = [w for w in words if re.fullmatch(r"-O\w*", w)]
        if not levels or levels[-1] not in ("-O2", "-O3"):
            faults.append(f"{entry['file']}: optimisation {levels[-1] if levels else 'none'}")
        if "-DNDEBUG" not in words:
            faults.append(f"{entry['file']}: no NDEBUG")
    seen = {target_of(e) for e in entries}
    faults += [f"{t}: no sources in {compile_commands}" for t in targets if t not in seen]
    for fault in faults:
        print(fault)
    print(f"{len(entries)} sources of {', '.join(sorted(seen))}: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], set(sys.argv[2:])))
