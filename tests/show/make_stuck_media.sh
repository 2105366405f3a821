#!/usr/bin/env bash
# Makes the videos the platform hangs on (under Wine's Media Foundation), for the end-to-end
# scenarios of a show or dialog that must stay endable and say what it could not open, and a
# large video whose long frame steps must not pass for a hang.
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
# A 3840 x 2160 H.264 of 20 s at 30 frames a second, a key frame every 90, with B-frames (stored
# out of their order): its left half is one colour a frame, far from the next frame's, its right
# half a moving picture for the decoder to work on. Beside it, the colour ffmpeg decodes for
# frames 0 and 300, two pixels of each.
left="color=c=black:s=16x9:r=30:d=20,format=gbrp"
left+=",geq=r='48+mod(N*37\,200)':g='48+mod(N*91\,200)':b='48+mod(N*53\,200)'"
left+=",scale=1920:2160:flags=neighbor,setsar=1"
right="testsrc2=s=960x1080:r=30:d=20,scale=1920:2160,setsar=1"
ff -f lavfi -i "$left[left];$right[right];[left][right]hstack" \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -x264-params keyint=90:scenecut=0:bframes=2 \
  large.mp4
ff -i large.mp4 -vf "select='eq(n\,0)+eq(n\,300)',format=rgb24,crop=2:1:960:1080" \
  -fps_mode passthrough -f rawvideo -pix_fmt rgb24 large_0_300.rgb
