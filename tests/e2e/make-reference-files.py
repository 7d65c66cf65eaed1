#!/usr/bin/env python3
"""make-reference-files.py FOLDER: makes the input files of the file-hash tests in FOLDER
and lists their digests in FOLDER/digests.txt, one line per file:
NAME CRC-32 MD4 MD5 SHA-1 SHA-256 SHA-384 SHA-512 HAS-160, as rhash computes them.
rhash has no MD2; the driver takes that one from the platform."""
import os
import random
import subprocess
import sys

BLOCK = 10 * 1024 * 1024   # the program reads in blocks of this size

# name, size, content: "random" bytes from a fixed seed, or "zeros" in a sparse file
FILES = [
    ("one-block.bin", BLOCK, "random"),
    ("three-blocks.bin", 2 * BLOCK + 1234567, "random"),
    ("long-run.bin", 6 * BLOCK + 4321, "zeros"),
]

RHASH_FORMAT = "%{crc32} %{md4} %{md5} %{sha1} %{sha-256} %{sha-384} %{sha-512} %{has160}\\n"


def make(path, size, content):
    with open(path, "wb") as out:
        if content == "zeros":
            out.truncate(size)
        else:
            out.write(random.Random(size).randbytes(size))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    lines = []
    for name, size, content in FILES:
        path = os.path.join(folder, name)
        make(path, size, content)
        digests = subprocess.run(["rhash", "--printf", RHASH_FORMAT, path], check=True,
                                 capture_output=True, text=True).stdout.strip()
        lines.append(name + " " + digests + "\n")
    with open(os.path.join(folder, "digests.txt"), "w") as listing:
        listing.writelines(lines)


main()
