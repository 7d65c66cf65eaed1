#!/usr/bin/env python3
"""failing-reads-fs.py MOUNTPOINT: a read-only FUSE file system, in the foreground until it
is unmounted, with files of zeros whose reads do not match what their size says:
- "failing.bin" (32 MiB): reads fail with EIO from 12 MiB on, so that a reader's first
  10 MiB block succeeds and a later one fails;
- "shrinking.bin" (30 MiB at open): ends after 15 MiB, as a file cut short while it is read;
- "growing.bin" (20 MiB at open): delivers 21 MiB, as a file that grows while it is read;
- "intact.bin" (32 MiB): reads whole."""
import errno
import stat
import sys

from fusepy import FUSE, FuseOSError, Operations

MIB = 1024 * 1024


class File:
    def __init__(self, size, delivers, fails_from=None):
        self.size = size            # what the file system reports
        self.delivers = delivers    # where reads reach the end
        self.fails_from = fails_from


FILES = {
    "/failing.bin": File(32 * MIB, 32 * MIB, fails_from=12 * MIB),
    "/shrinking.bin": File(30 * MIB, 15 * MIB),
    "/growing.bin": File(20 * MIB, 21 * MIB),
    "/intact.bin": File(32 * MIB, 32 * MIB),
}


class MismatchedReads(Operations):
    def getattr(self, path, fh=None):
        if path == "/":
            return {"st_mode": stat.S_IFDIR | 0o555, "st_nlink": 2}
        if path in FILES:
            return {"st_mode": stat.S_IFREG | 0o444, "st_nlink": 1, "st_size": FILES[path].size}
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return [".", ".."] + [name[1:] for name in FILES]

    def read(self, path, size, offset, fh):
        file = FILES[path]
        end = min(offset + size, file.delivers)
        if file.fails_from is not None and end > file.fails_from:
            raise FuseOSError(errno.EIO)
        return bytes(max(end - offset, 0))


# direct_io: every read reaches read() above, none is served from the page cache, and
# reads go on past the reported size.
FUSE(MismatchedReads(), sys.argv[1], foreground=True, ro=True, direct_io=True)
