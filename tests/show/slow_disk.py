#!/usr/bin/python3
"""A read-only view of a folder whose reads are slow, as a disk that has to wake or a slow share:
the first read of each file waits FIRST seconds, every later read EACH seconds. The folder "deep"
holds the same files again, on a disk that wakes only after DEEP seconds and then reads at once.

Usage: slow_disk.py SOURCE MOUNTPOINT FIRST EACH DEEP   (runs in the foreground until unmounted)
"""
import errno
import os
import sys
import threading
import time

import fusepy


class SlowDisk(fusepy.Operations):
    def __init__(self, source, first, each, deep):
        self.source = source
        self.first = first
        self.each = each
        self.deep = deep
        self.woken = set()
        self.guard = threading.Lock()

    def _path(self, path):
        if path == "/deep" or path.startswith("/deep/"):
            path = path[len("/deep"):]
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self._path(path))
        except OSError:
            raise fusepy.FuseOSError(errno.ENOENT)
        return {key: getattr(st, key) for key in (
            "st_mode", "st_size", "st_nlink", "st_uid", "st_gid", "st_atime", "st_mtime",
            "st_ctime")}

    def readdir(self, path, fh):
        return [".", ".."] + (["deep"] if path == "/" else []) + os.listdir(self._path(path))

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise fusepy.FuseOSError(errno.EROFS)
        return os.open(self._path(path), os.O_RDONLY)

    def read(self, path, size, offset, fh):
        with self.guard:
            cold = path not in self.woken
            self.woken.add(path)
        if path.startswith("/deep/"):
            time.sleep(self.deep if cold else 0)
        else:
            time.sleep(self.first if cold else self.each)
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)


if __name__ == "__main__":
    source, mountpoint, first, each, deep = sys.argv[1:6]
    fusepy.FUSE(SlowDisk(os.path.realpath(source), float(first), float(each), float(deep)),
                mountpoint, foreground=True, ro=True, nothreads=False, allow_other=True,
                direct_io=True)
