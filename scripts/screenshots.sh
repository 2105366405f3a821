#!/usr/bin/env bash
# Remakes docs/images/show.png (the mosaic) and docs/images/settings.png (the settings dialog with
# a video chosen) from the real screen saver under Wine, on a virtual display, with a generated
# video.   Usage: screenshots.sh WINDOWS_BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build/win64}")
root=$(realpath "$(dirname "$0")/..")
work=$root/build/screenshots
prefix=$work/wine
images=$root/docs/images
limit=200000
mkdir -p "$work" "$images"
run() { KINELOOP_SCREEN=800x600x24 "$root/tests/wine/wine-run.sh" "$prefix" "$@"; }

# The files go onto the prefix's own C: drive, so that the dialog shows a path a user might have.
run wineboot
folder=$prefix/drive_c/Kineloop
mkdir -p "$folder"
cp "$build/Kineloop.scr" "$folder/Kineloop.scr"
video=サンプル.avi
if [ ! -s "$work/sample.avi" ]; then
  # A zoom into the Mandelbrot set, so that each tile shows how far the video has gone. Cinepak with
  # a fixed strip count, as in the demo.
  ffmpeg -loglevel error -y -f lavfi -i mandelbrot=size=320x240:rate=25 -frames:v 90 \
    -c:v cinepak -min_strips 2 -max_strips 2 "$work/sample.avi"
fi
cp "$work/sample.avi" "$folder/$video"

# The settings file in the ANSI code page of a Japanese system, as the program writes it.
settings() {
  printf '[Section]\r\nAVI_File=C:\\Kineloop\\%s\r\nFlame_From=0\r\nFlame_To=89\r\nPic_Width=128\r\nPic_Height=96\r\nFast=150\r\nFlame_Skip=2\r\nRate=1\r\nBGM区分=%s\r\nBGMﾘﾋﾟｰﾄ=0\r\nBGMﾌｧｲﾙ=%s\r\n' \
    "$video" "$1" "$2" | iconv -f UTF-8 -t CP932 >"$folder/Kineloop.ini"
}

# A PNG of at most $limit bytes: full colour when it fits, otherwise fewer and fewer colours.
to_png() {
  local input=$1 output=$2 filter=${3:-null}
  ffmpeg -loglevel error -y -i "$input" -vf "$filter" "$output"
  for colours in 256 128 64 32; do
    [ "$(stat -c %s "$output")" -le "$limit" ] && return 0
    ffmpeg -loglevel error -y -i "$input" -vf \
      "$filter,split[a][b];[a]palettegen=max_colors=$colours[p];[b][p]paletteuse=dither=none" \
      "$output"
  done
  [ "$(stat -c %s "$output")" -le "$limit" ] || { echo "screenshots: $output is too big" >&2; exit 1; }
}

runner=$build/tests/driver/kineloop_screenshot_runner.exe
settings 0 ''
run "$runner" show 'C:\Kineloop\Kineloop.scr' 'C:\Kineloop\show.bmp' 128 96
to_png "$folder/show.bmp" "$images/show.png"

# The dialog with a music file chosen too.
sox -n -r 22050 -c 1 "$folder/音楽.wav" synth 1 sine 440 2>/dev/null
settings 2 'C:\Kineloop\音楽.wav'
run "$runner" settings 'C:\Kineloop\Kineloop.scr' 'C:\Kineloop\settings.bmp'
read -r left top width height <"$folder/settings.bmp.rect"
to_png "$folder/settings.bmp" "$images/settings.png" "crop=$width:$height:$left:$top"
ls -l "$images/show.png" "$images/settings.png"
