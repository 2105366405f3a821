#!/usr/bin/env bash
# Makes the benchmark videos (once, about a minute), builds the frames benchmark and runs it under
# Wine: frames per second of ReadFrame alone and with the snapshot protocol, with their ratio.

# Usage: bench/frames/run_bench.sh [BUILD_DIR]   (default build/win64, configured by `make all`)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win64}
cmake --build "$build" --target kineloop_bench_media bench_frames >/dev/null
exec "$root/tests/wine/wine-run.sh" "$build/wine" "$build/bench/frames/bench_frames.exe"
