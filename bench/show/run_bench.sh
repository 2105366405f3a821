#!/usr/bin/env bash
# Runs the show benchmark under Wine: the playback loop against the platform's decoder alone
# (before and after), the CPU use of the loop at the default pause, and memory and GDI over 20,000
# frames.
#   bench/show/run_bench.sh [WINDOWS_BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build/win64}")
cmake --build "$build" --target kineloop_bench_media bench_show Kineloop >/dev/null
media=$build/media
# A clip with a fixed number of Cinepak strips for the long run: Wine's Cinepak decoder loses
# memory whenever that number changes, which would hide what the show itself does.
if [ ! -s "$media/bench_fixed_strips.avi" ]; then
  ffmpeg -v error -y -f lavfi -i testsrc2=size=320x240:rate=15:duration=4 \
    -c:v cinepak -min_strips 2 -max_strips 2 "$media/bench_fixed_strips.avi"
fi
"$root/tests/wine/wine-run.sh" "$build/wine" "$build/bench/show/bench_show.exe" \
  "$media/bench_fixed_strips.avi" \
  "$media/bench_320x240.avi" "$media/bench_640x480.avi" "$media/bench_1280x720.avi" \
  "$media/bench_1280x720.mp4" "$media/bench_1920x1080.mp4" "$media/bench_3840x2160.mp4"
