#!/usr/bin/python3
# A folder whose listing the test holds: mounted with FUSE, it shows FILES small files and
# FOLDERS subfolders (each holding one file), and every listing of it or beneath it waits until
# the gate file exists. The test so decides when a scan that reaches it may go on: however
# quick the machine, the scan cannot end before the test has done what it must do during it.
#
#   gate_fs.py MOUNTPOINT GATE_FILE LOG_FILE [FOLDERS [HELD_SIZE]]
#
# HELD_SIZE, the size of held.bin (600 B unless given), sets it apart from the folders' files.
#
# Each listing served is written to LOG_FILE as "listed PATH" (and "waiting PATH" when it has
# to wait), so the test can see where the scan stands. Read-only: what the program may delete
# lives elsewhere. A listing blocked here cannot be interrupted: whoever mounts it opens the
# gate on every way out, then unmounts.
import errno
import os
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

FILE_SIZE = 600


class GateFs(Operations):
    def __init__(self, gate, log, folders, held_size):
        self.gate = gate
        self.held_size = held_size
        self.log = log
        self.folders = folders
        self.lock = threading.Lock()
        self.now = time.time()

    def note(self, text):
        with self.lock, open(self.log, "a") as f:
            f.write(text + "\n")

    def kind(self, path):
        parts = [p for p in path.split("/") if p]
        if not parts:
            return "dir"
        if len(parts) == 1 and parts[0] == "held.bin":
            return "file"
        if parts[0].startswith("d") and parts[0][1:].isdigit() and int(parts[0][1:]) < self.folders:
            if len(parts) == 1:
                return "dir"
            if len(parts) == 2 and parts[1] == "f.bin":
                return "file"
        return None

    def getattr(self, path, fh=None):
        kind = self.kind(path)
        if kind is None:
            raise FuseOSError(errno.ENOENT)
        mode = (stat.S_IFDIR | 0o755) if kind == "dir" else (stat.S_IFREG | 0o644)
        size = 0 if kind == "dir" else (self.held_size if path == "/held.bin" else FILE_SIZE)
        return dict(st_mode=mode, st_nlink=2 if kind == "dir" else 1, st_size=size,
                    st_ctime=self.now, st_mtime=self.now, st_atime=self.now,
                    st_uid=os.getuid(), st_gid=os.getgid())

    def readdir(self, path, fh):
        if self.kind(path) != "dir":
            raise FuseOSError(errno.ENOTDIR)
        if not os.path.exists(self.gate):
            self.note("waiting " + path)
            while not os.path.exists(self.gate):
                time.sleep(0.05)
        self.note("listed " + path)
        if path == "/":
            return [".", "..", "held.bin"] + ["d%d" % i for i in range(self.folders)]
        return [".", "..", "f.bin"]

    def read(self, path, size, offset, fh):
        if self.kind(path) != "file":
            raise FuseOSError(errno.ENOENT)
        length = self.held_size if path == "/held.bin" else FILE_SIZE
        return b"\0" * max(0, min(size, length - offset))


if __name__ == "__main__":
    mount, gate, log = sys.argv[1:4]
    folders = int(sys.argv[4]) if len(sys.argv) > 4 else 0
    held_size = int(sys.argv[5]) if len(sys.argv) > 5 else FILE_SIZE
    FUSE(GateFs(gate, log, folders, held_size), mount, foreground=True, nothreads=False, ro=True,
         allow_other=False)
