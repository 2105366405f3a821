#!/usr/bin/env bash
# Installs every system package the build, the tests and the demo need (Debian 12, as root).
# Idempotent: a machine that already has everything is left alone and this returns in a moment.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev googletest clang-format ccache
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine64 xvfb xauth locales fonts-ipafont-gothic
  x11-xserver-utils
  ffmpeg sox python3
  pulseaudio pulseaudio-utils gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # Wine's Media Foundation decodes through GStreamer: libav for H.264, MPEG-4 Part 2 and WMV,
  # plugins-ugly for the ASF container.
  gstreamer1.0-libav gstreamer1.0-plugins-ugly
  # A slow disk for the tests: a FUSE file system whose reads wait.
  fuse3 python3-fusepy
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932 (Shift-JIS). The
# others give 1252, 936 and 949, for the tests of a settings file on a non-Japanese system.
generate=
for name in ja_JP en_US zh_CN ko_KR; do
  if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8$"; then
    sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >>/etc/locale.gen
    generate=1
  fi
done
[ -z "$generate" ] || locale-gen >/dev/null
echo "setup: ready"
