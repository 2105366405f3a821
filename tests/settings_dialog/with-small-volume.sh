#!/usr/bin/env bash
# Runs a command beside a small volume of its own (a tmpfs, which needs root, as `make test` has):
# KINELOOP_FULL_VOLUME names its mount point, which the command may fill up. Unmounted afterwards.
#
#   with-small-volume.sh COMMAND [ARGS...]
set -u
point=$(mktemp -d /tmp/kineloop-volume.XXXXXX)
if ! mount -t tmpfs -o size=16m,mode=0777 kineloop-volume "$point"; then
  echo "with-small-volume: cannot mount a tmpfs at $point (run as root)" >&2
  rmdir "$point"
  exit 1
fi
cleanup() {
  umount "$point" 2>/dev/null || umount -l "$point"
  rmdir "$point"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
export KINELOOP_FULL_VOLUME=$point
"$@"
