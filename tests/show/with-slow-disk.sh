#!/usr/bin/env bash
# Runs a command beside a slow view of the test videos (a FUSE file system, which needs root and
# /dev/fuse): the first read of each file waits 6 s, as a disk that has to wake, every later one
# 50 ms, as a slow share; its folder "deep" holds the same files on a disk that wakes only after
# 17 s, longer than an open may go without progress. KINELOOP_SLOW_DISK names its mount point.
# Unmounted afterwards.
#
#   with-slow-disk.sh SOURCE_FOLDER COMMAND [ARGS...]
set -u
source=$1
shift
point=$(mktemp -d /tmp/kineloop-slow.XXXXXX)
/usr/bin/python3 "$(dirname "$0")/slow_disk.py" "$source" "$point" 6 0.05 17 &
fs=$!
cleanup() {
  fusermount3 -u "$point" 2>/dev/null || fusermount -u "$point" 2>/dev/null || umount -l "$point"
  wait "$fs" 2>/dev/null
  rmdir "$point"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
for _ in $(seq 100); do
  mountpoint -q "$point" && break
  sleep 0.1
done
if ! mountpoint -q "$point"; then
  echo "with-slow-disk: cannot mount a FUSE file system at $point" >&2
  exit 1
fi
export KINELOOP_SLOW_DISK=$point
"$@"
