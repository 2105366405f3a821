#!/usr/bin/env bash
# Runs the screen saver on a sample video. On the user's X display ($DISPLAY) the show runs until a
# click or a key; without one it runs on a virtual display, a screenshot is saved to build/demo.png
# after a few seconds, and a key press ends it.   Usage: demo.sh WINDOWS_BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build/win64}")
root=$(realpath "$(dirname "$0")/..")
demo=$root/build/demo
mkdir -p "$demo"
cp "$build/Kineloop.scr" "$demo/Kineloop.scr"

# A short Cinepak clip (a codec every Windows can decode) of a moving test pattern. A fixed number
# of strips per frame: Wine's Cinepak decoder loses memory whenever that number changes.
if [ ! -s "$demo/sample.avi" ]; then
  ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=320x240:rate=12:duration=6 \
    -c:v cinepak -min_strips 2 -max_strips 2 "$demo/sample.avi"
fi
winpath="Z:${demo//\//\\}\\sample.avi"
printf '[Section]\r\nAVI_File=%s\r\nPic_Width=160\r\nPic_Height=120\r\nFast=40\r\nFlame_Skip=1\r\n' \
  "$winpath" >"$demo/Kineloop.ini"

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: the show runs on $DISPLAY; click or press a key to end it"
  KINELOOP_USE_DISPLAY=1 "$root/tests/wine/wine-run.sh" "$build/wine" "$demo/Kineloop.scr" /s
else
  "$root/tests/wine/wine-run.sh" "$build/wine" "$build/tests/driver/kineloop_demo_runner.exe" \
    "$demo/Kineloop.scr" "Z:${demo//\//\\}\\demo.bmp"
  ffmpeg -loglevel error -y -i "$demo/demo.bmp" "$root/build/demo.png"
  echo "demo: screenshot saved to build/demo.png"
fi
