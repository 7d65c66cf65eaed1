#!/usr/bin/env python3
"""failing-reads-fs.py MOUNTPOINT: a read-only FUSE file system, in the foreground until it
is unmounted, that prints "mounted" once it is, with files of zeros whose reads do not match what their size says:
- "failing.bin" (32 MiB): reads fail with EIO from 12 MiB on, so that a reader's first
  10 MiB block succeeds and a later one fails;
- "shrinking.bin" (30 MiB at open): ends after 15 MiB, as a file cut short while it is read;
- "growing.bin" (20 MiB at open): delivers 21 MiB, as a file that grows while it is read;
- "grown-after-sizing.bin": 1 byte until it has been opened and closed once (a reader
  that took its size), then 20 MiB and 1 byte, read whole, as a download still going on
  between two looks; reading all of it takes 3 s, so that its reader runs for seconds;
- "intact.bin" (32 MiB): reads whole."""
import errno
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

MIB = 1024 * 1024


class File:
    def __init__(self, size, delivers, fails_from=None, once_closed=None, reading_seconds=0):
        self.size = size            # what the file system reports
        self.delivers = delivers    # where reads reach the end
        self.fails_from = fails_from
        self.once_closed = once_closed   # size and end after the first close, if it changes then
        self.reading_seconds = reading_seconds   # for reading it whole
        self.closed = False


FILES = {
    "/failing.bin": File(32 * MIB, 32 * MIB, fails_from=12 * MIB),
    "/shrinking.bin": File(30 * MIB, 15 * MIB),
    "/growing.bin": File(20 * MIB, 21 * MIB),
    "/grown-after-sizing.bin": File(1, 1, once_closed=20 * MIB + 1, reading_seconds=3),
    "/intact.bin": File(32 * MIB, 32 * MIB),
}


class MismatchedReads(Operations):
    def __init__(self):
        self.guard = threading.Lock()

    def sizes(self, file):
        with self.guard:
            if file.closed and file.once_closed is not None:
                return file.once_closed, file.once_closed
            return file.size, file.delivers

    def init(self, path):
        print("mounted", flush=True)

    def getattr(self, path, fh=None):
        if path == "/":
            return {"st_mode": stat.S_IFDIR | 0o555, "st_nlink": 2}
        if path in FILES:
            return {"st_mode": stat.S_IFREG | 0o444, "st_nlink": 1, "st_size": self.sizes(FILES[path])[0]}
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return [".", ".."] + [name[1:] for name in FILES]

    def read(self, path, size, offset, fh):
        file = FILES[path]
        end = min(offset + size, self.sizes(file)[1])
        if file.fails_from is not None and end > file.fails_from:
            raise FuseOSError(errno.EIO)
        length = max(end - offset, 0)
        if file.reading_seconds:
            time.sleep(file.reading_seconds * length / self.sizes(file)[1])
        return bytes(length)

    def release(self, path, fh):
        if path in FILES:
            with self.guard:
                FILES[path].closed = True
        return 0


# direct_io: every read reaches read() above, none is served from the page cache, and
# reads go on past the reported size. No attribute cache: every look at a size asks.
FUSE(MismatchedReads(), sys.argv[1], foreground=True, ro=True, direct_io=True, attr_timeout=0, entry_timeout=0)
