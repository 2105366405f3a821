#!/usr/bin/env bash
# Makes the videos the platform hangs on (under Wine's Media Foundation), for the end-to-end
# scenarios of a show or dialog that must stay endable and say what it could not open.
#   make_stuck_media.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
# An MPEG-1 elementary stream: the open hangs.
ff -f lavfi -i testsrc2=size=384x288:rate=25:duration=4 -c:v mpeg1video -f mpeg1video hang.mpv
# A small H.264 MP4 with one byte of its movie header inverted: the open hangs every time.
ff -f lavfi -i testsrc=s=64x48:r=10 -frames:v 12 -c:v libx264 -pix_fmt yuv420p -crf 8 \
  -preset veryfast whole.mp4
python3 - <<'PY'
data = bytearray(open("whole.mp4", "rb").read())
at = data.find(b"moov") - 4
size = int.from_bytes(data[at:at + 4], "big")
assert at > 0 and at < 4452 < at + size, "byte 4452 is not in the movie header"
data[4452] ^= 0xFF
open("hang.mp4", "wb").write(data)
PY
rm whole.mp4
