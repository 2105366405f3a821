#!/usr/bin/env bash
# Makes the test videos and pictures with ffmpeg (plus small binary edits where ffmpeg cannot make
# a case) into OUTDIR. Frame n shows colour n mod 10 of the table in test_media.h.

# Usage: make_test_media.sh OUTDIR         the files the tests use (a few seconds)
#        make_test_media.sh OUTDIR bench   the benchmark clips (some minutes)
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"

# Keep in step with kFrameColours in test_media.h (red green blue, one frame each).
colours=("255 0 0" "0 255 0" "0 0 255" "255 255 0" "0 255 255"
         "255 0 255" "255 128 0" "128 0 255" "0 128 64" "128 128 128")

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

# One colour channel (0 red, 1 green, 2 blue) of frame N as an ffmpeg expression.
channel() {
  local expr="" i v
  for i in 9 8 7 6 5 4 3 2 1 0; do
    read -r -a v <<<"${colours[$i]}"
    if [ -z "$expr" ]; then expr=${v[$1]}; else expr="if(eq(mod(N\\,10)\\,$i)\\,${v[$1]}\\,$expr)"; fi
  done
  echo "$expr"
}

# A source of WIDTHxHEIGHT frames in the colour of their number; with "band" the top quarter of
# every frame is white, so that a picture upside down is seen.
frames() {
  local size=$1 band=${2:-} r g b
  r=$(channel 0) g=$(channel 1) b=$(channel 2)
  if [ "$band" = band ]; then
    r="if(lt(Y\\,H/4)\\,255\\,$r)" g="if(lt(Y\\,H/4)\\,255\\,$g)" b="if(lt(Y\\,H/4)\\,255\\,$b)"
  fi
  echo "color=c=black:s=$size:r=10,format=gbrp,geq=r='$r':g='$g':b='$b'"
}

# Writes a 32-bit little-endian VALUE at byte OFFSET of FILE.
poke32() {
  local file=$1 offset=$2 value=$3
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((value & 255)) $(((value >> 8) & 255)) \
    $(((value >> 16) & 255)) $(((value >> 24) & 255)))" |
    dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
}
# Byte offset of the first chunk with id ID (the file's only video stream here).
chunk() { grep -obUa "$2" "$1" | head -n 1 | cut -d: -f1; }

# ffmpeg marks its files "trust the chunk type" while it stores every video frame, key frame or
# not, in a compressed-data chunk; Wine then takes only the first frame for a key frame, and for
# frames it passes through undecoded it hands back the key frame instead of a frame read out of
# order. Without the mark the index says which frames are key frames.
index_keys() {
  poke32 "$1" $(($(chunk "$1" avih) + 8 + 12)) 0x110 # has an index, interleaved
}

# ffmpeg stores uncompressed frames top-down (negative height); AVI players expect the usual
# bottom-up rows, so the rows are flipped and the height made positive.
bottom_up() {
  local file=$1
  poke32 "$file" $(($(chunk "$file" strf) + 16)) "$2"
}

if [ "${2:-}" = bench ]; then
  # 300 frames each: enough that a round of the show is not its start-up. Cinepak encodes large
  # frames slowly: 25 frames with one codebook pass, played 12 times over (each pass starts with
  # a key frame, so the copy decodes as one clip).
  for size in 320x240 640x480 1280x720; do
    ff -f lavfi -i "testsrc2=s=$size:r=25" -frames:v 25 -c:v cinepak -max_extra_cb_iterations 0 \
      "bench_once_$size.avi"
    ff -stream_loop 11 -i "bench_once_$size.avi" -c copy "bench_$size.avi"
    rm "bench_once_$size.avi"
  done
  # A phone's and a camera's kind of video, for Media Foundation.
  for size in 1280x720 1920x1080 3840x2160; do
    ff -f lavfi -i "testsrc2=s=$size:r=25" -frames:v 300 -c:v libx264 -pix_fmt yuv420p \
      -preset veryfast "bench_$size.mp4"
  done
  exit 0
fi

ff -f lavfi -i "$(frames 64x48 band)" -frames:v 12 -c:v msvideo1 msvideo1.avi
ff -f lavfi -i "$(frames 64x48 band)" -frames:v 12 -c:v cinepak cinepak.avi
ff -f lavfi -i "$(frames 61x45 band)" -frames:v 12 -vf vflip -c:v rawvideo -pix_fmt bgr24 \
  uncompressed24.avi
bottom_up uncompressed24.avi 45
index_keys uncompressed24.avi
# The palette holds exactly the colours of the frames, so that they come back unchanged.
ff -f lavfi -i "$(frames 64x48 band)" -c:v rawvideo -pix_fmt pal8 -vf \
  "trim=end_frame=12,vflip,split[a][b];[a]palettegen=max_colors=16:reserve_transparent=0[p];[b][p]paletteuse=dither=none" \
  palette8.avi
bottom_up palette8.avi 48
ff -f lavfi -i "$(frames 64x48 band)" -frames:v 12 -c:v mjpeg -pix_fmt yuvj422p -q:v 2 mjpeg.avi
ff -f lavfi -i "$(frames 64x48 band)" -frames:v 1 -c:v cinepak one_frame.avi

# A stream that starts at sample 5: every frame a key frame, start 5 and length 7 in its header.
ff -f lavfi -i "$(frames 64x48 band)" -frames:v 12 -g 1 -c:v cinepak start5.avi
index_keys start5.avi
strh=$(chunk start5.avi strh)
poke32 start5.avi $((strh + 36)) 5
poke32 start5.avi $((strh + 40)) 7

ff -f lavfi -i "sine=frequency=440:duration=1" -c:a pcm_s16le audio_only.avi
printf 'This is a text file, not a video.\n' >not_avi.avi
: >empty.avi

for size in 160x120 320x240; do
  ff -f lavfi -i "$(frames $size)" -frames:v 10 -c:v cinepak "clip10_$size.avi"
done

# Videos that open but can never show a frame: uncompressed and wider than any frame the reader
# decodes; a Cinepak file cut in half (no index; Wine opens it, finds a decoder and then decodes
# no frame); and 8-bit rows top-down as ffmpeg writes them (no decoder gives 24 bits of those).
ff -f lavfi -i "color=c=red:s=16400x4:r=10" -frames:v 3 -vf vflip -c:v rawvideo -pix_fmt bgr24 \
  wide_uncompressed.avi
bottom_up wide_uncompressed.avi 4
index_keys wide_uncompressed.avi
head -c $(($(stat -c %s clip10_320x240.avi) / 2)) clip10_320x240.avi >cinepak_half.avi
ff -f lavfi -i "$(frames 64x48 band)" -c:v rawvideo -pix_fmt pal8 -vf \
  "trim=end_frame=12,split[a][b];[a]palettegen=max_colors=16:reserve_transparent=0[p];[b][p]paletteuse=dither=none" \
  topdown8.avi

# Formats that only Media Foundation decodes (H.264 and VP9 at a high quality, so that the
# colours come back within a small tolerance).
x264=(-c:v libx264 -pix_fmt yuv420p -crf 8 -preset veryfast)
ff -f lavfi -i "$(frames 64x48 band)" -frames:v 12 "${x264[@]}" h264.mp4
ff -f lavfi -i "$(frames 64x48 band)" -f lavfi -i "sine=frequency=440:duration=1.2" \
  -frames:v 12 "${x264[@]}" -c:a aac -shortest h264_audio.mp4
ff -f lavfi -i "$(frames 350x198 band)" -frames:v 12 "${x264[@]}" h264_350x198.mp4
ff -f lavfi -i "$(frames 64x48 band)" -frames:v 12 -c:v mpeg4 -vtag XVID -q:v 2 mpeg4.avi
ff -f lavfi -i "$(frames 64x48 band)" -frames:v 12 -c:v wmv2 -q:v 2 wmv8.wmv
ff -f lavfi -i "$(frames 64x48 band)" -frames:v 12 -c:v libvpx-vp9 -pix_fmt yuv420p -crf 4 -b:v 0 \
  vp9.webm
ff -f lavfi -i "$(frames 64x48 band)" -f lavfi -i "sine=frequency=440:duration=1.2" -frames:v 12 \
  -c:v libvpx-vp9 -pix_fmt yuv420p -crf 4 -b:v 0 -c:a libopus -shortest vp9_opus.webm
ff -i vp9.webm -c copy vp9.mkv

# Phone videos: a picture of four colours (red, green / blue, yellow from the top left) stored
# turned a quarter to the left, with a turn in the track header that ffprobe calls -90 (shown
# upright), 90 and 180; beside each, ffmpeg's own turned decode of its first frame as RGB rows.
quarters="color=c=black:s=96x128:r=10,format=gbrp,geq=r='if(lt(Y\\,H/2)\\,if(lt(X\\,W/2)\\,255\\,0)\\,if(lt(X\\,W/2)\\,0\\,255))'"
quarters+=":g='if(lt(X\\,W/2)\\,0\\,255)':b='if(lt(Y\\,H/2)\\,0\\,if(lt(X\\,W/2)\\,255\\,0))'"
ff -f lavfi -i "$quarters" -frames:v 6 -vf transpose=2 "${x264[@]}" phone_stored.mp4
for turn in 270:upright 90:turned90 180:turned180; do
  ff -i phone_stored.mp4 -c copy -metadata:s:v:0 rotate="${turn%:*}" "phone_${turn#*:}.mp4"
  ff -i "phone_${turn#*:}.mp4" -frames:v 1 -f rawvideo -pix_fmt rgb24 "phone_${turn#*:}.rgb"
done
rm phone_stored.mp4
# Anamorphic: 720 x 480 stored, pixels of 32:27 (853 x 480 seen).
ff -f lavfi -i "$(frames 720x480 band)" -frames:v 6 -vf setsar=32/27 "${x264[@]}" anamorphic.mp4
# Variable rate: 12 frames at 10 a second, then 36 at 30, joined, with 5 s of sound: 48 frames.
ff -f lavfi -i "$(frames 64x48)" -frames:v 12 "${x264[@]}" vfr_part10.mp4
ff -f lavfi -i "color=c=black:s=64x48:r=30" -frames:v 36 "${x264[@]}" vfr_part30.mp4
printf "file 'vfr_part10.mp4'\nfile 'vfr_part30.mp4'\n" >vfr_parts.txt
ff -f concat -safe 0 -i vfr_parts.txt -c copy vfr_joined.mp4
ff -i vfr_joined.mp4 -f lavfi -i "sine=frequency=440:duration=5" -c:v copy -c:a aac \
  variable_rate.mp4
rm vfr_part10.mp4 vfr_part30.mp4 vfr_parts.txt vfr_joined.mp4
# Variable rate the other way, in WebM (which counts no samples): 36 frames at 30, then 12 at 10.
vp9=(-c:v libvpx-vp9 -pix_fmt yuv420p -crf 4 -b:v 0)
ff -f lavfi -i "color=c=black:s=64x48:r=30" -frames:v 36 "${vp9[@]}" vfr_part30.webm
ff -f lavfi -i "$(frames 64x48)" -frames:v 12 "${vp9[@]}" vfr_part10.webm
printf "file 'vfr_part30.webm'\nfile 'vfr_part10.webm'\n" >vfr_parts.txt
ff -f concat -safe 0 -i vfr_parts.txt -c copy variable_rate.webm
rm vfr_part30.webm vfr_part10.webm vfr_parts.txt

# Standard bitmap files from another writer: frame 0 (red, white band) at 16, 24 and 32 bits.
for format in rgb555le:16 bgr24:24 bgra:32; do
  ff -f lavfi -i "$(frames 61x45 band)" -frames:v 1 -pix_fmt "${format%:*}" \
    "picture${format#*:}.bmp"
done
