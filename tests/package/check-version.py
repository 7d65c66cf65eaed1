#!/usr/bin/env python3
"""Fails unless each binary's version block (VS_FIXEDFILEINFO) says 2.1.2.5."""
import struct
import sys

SIGNATURE = struct.pack("<I", 0xFEEF04BD)
status = 0
for path in sys.argv[1:]:
    data = open(path, "rb").read()
    at = data.find(SIGNATURE)
    if at < 0:
        print(f"{path}: no version block")
        status = 1
        continue
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", data, at + 8)
    versions = [(ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
                for ms, ls in ((file_ms, file_ls), (product_ms, product_ls))]
    print(f"{path}: file {versions[0]}, product {versions[1]}")
    if any(v != (2, 1, 2, 5) for v in versions):
        status = 1
sys.exit(status)
