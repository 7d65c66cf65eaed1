#!/usr/bin/env python3
"""failing-reads-fs.py MOUNTPOINT: a read-only FUSE file system, in the foreground until it
is unmounted, with two files of 32 MiB of zeros: "failing.bin", whose reads fail with EIO
from 12 MiB on, so that a reader's first 10 MiB block succeeds and a later one fails, and
"intact.bin", which reads whole."""
import errno
import stat
import sys

from fusepy import FUSE, FuseOSError, Operations

SIZE = 32 * 1024 * 1024
FAILS_FROM = 12 * 1024 * 1024
FILES = {"/failing.bin": FAILS_FROM, "/intact.bin": SIZE}


class FailingReads(Operations):
    def getattr(self, path, fh=None):
        if path == "/":
            return {"st_mode": stat.S_IFDIR | 0o555, "st_nlink": 2}
        if path in FILES:
            return {"st_mode": stat.S_IFREG | 0o444, "st_nlink": 1, "st_size": SIZE}
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return [".", ".."] + [name[1:] for name in FILES]

    def read(self, path, size, offset, fh):
        end = min(offset + size, SIZE)
        if end > FILES[path]:
            raise FuseOSError(errno.EIO)
        return bytes(max(end - offset, 0))


# direct_io: every read reaches read() above, none is served from the page cache.
FUSE(FailingReads(), sys.argv[1], foreground=True, ro=True, direct_io=True)
