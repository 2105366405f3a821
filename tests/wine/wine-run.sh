#!/usr/bin/env bash
# Runs one Windows program under Wine as the tests need it: the project's private prefix, a
# Japanese locale by default (ANSI code page 932), no Mono/Gecko prompts, no crash dialog, and a
# virtual X display of its own that is stopped afterwards together with every Wine process of the
# run.
#
#   wine-run.sh PREFIX PROGRAM [ARGS...]
#
# KINELOOP_USE_DISPLAY=1 runs on $DISPLAY instead of a virtual one; KINELOOP_SCREEN sets the
# virtual screen (default 1024x768x24); KINELOOP_MONITORS splits it into monitors, each
# WIDTHxHEIGHT+X+Y on the virtual screen, the primary first (the screen is then their bounds).
# KINELOOP_LOCALE runs under another locale than ja_JP.UTF-8 (en_US.UTF-8 gives ANSI code page
# 1252, zh_CN.UTF-8 936, ko_KR.UTF-8 949; scripts/setup.sh generates them); give such runs a
# prefix of their own.
# Programs sharing a prefix run one after another. Every step that fails says so on standard
# error ("wine-run: ..."), the program's own failure included.
set -u
say() { echo "wine-run: $*" >&2; }
prefix=$(realpath -m "$1")
shift

wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=/usr/lib/wine/wineserver
if [ ! -x "$wine" ] || [ ! -x "$server" ]; then
  say "Wine is not installed ($wine, $server); run scripts/setup.sh"
  exit 1
fi

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
locale=${KINELOOP_LOCALE:-ja_JP.UTF-8}
export LC_ALL=$locale LANG=$locale
unset LANGUAGE

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9

work=$(mktemp -d)
xpid=
cleanup() {
  "$server" -k >/dev/null 2>&1
  "$server" -w >/dev/null 2>&1
  if [ -n "$xpid" ]; then
    kill "$xpid" 2>/dev/null
    wait "$xpid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'say "stopped by a signal"; exit 143' TERM INT

screen=${KINELOOP_SCREEN:-1024x768x24}
monitors=${KINELOOP_MONITORS:-}
if [ -n "$monitors" ]; then
  right=0 bottom=0
  for m in $monitors; do
    IFS='x+' read -r w h x y <<<"$m"
    [ $((x + w)) -gt "$right" ] && right=$((x + w))
    [ $((y + h)) -gt "$bottom" ] && bottom=$((y + h))
  done
  screen=${right}x${bottom}x24
fi
if [ "${KINELOOP_USE_DISPLAY:-}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xpid=$!
  for _ in $(seq 1 400); do
    [ -s "$work/display" ] && break
    kill -0 "$xpid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$work/display" ]; then
    say "the virtual display (Xvfb) did not start"
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  export DISPLAY=":$(head -n 1 "$work/display")"
  # Xinerama answers with these monitors, and Wine takes its monitors from it.
  output=screen name='*kineloop'
  for m in $monitors; do
    IFS='x+' read -r w h x y <<<"$m"
    xrandr --setmonitor "$name$x-$y" "$w/$((w * 254 / 960))x$h/$((h * 254 / 960))+$x+$y" \
      "$output" >/dev/null || exit 1
    output=none name=kineloop
  done
fi

# The marker names the prefix's settings; a prefix made with other settings is set up again.
ready="$prefix/.kineloop-ready-4"
if [ ! -f "$ready" ]; then
  if ! "$wine" wineboot -i >"$work/wineboot.log" 2>&1; then
    say "the Wine prefix $prefix could not be made (wineboot failed)"
    cat "$work/wineboot.log" >&2
    exit 1
  fi
  # A crash must fail the test at once, not wait for somebody to close a dialog.
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
  # Without a window manager Wine waits about 2 s for every closing window it manages itself;
  # unmanaged windows close at once.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # Monitors from Xinerama: the virtual display's XRandR shows one, whatever KINELOOP_MONITORS says.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
  # The settings dialog asks for the Japanese face "ＭＳ Ｐゴシック"; the installed IPA P Gothic
  # stands in for it, so that its Japanese text is really drawn.
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ \
    /d 'IPAPGothic' /f >/dev/null 2>&1
  "$server" -w
  touch "$ready"
fi

"$wine" "$@"
status=$?
program=$(basename "$1")
if [ "$status" -gt 128 ]; then
  signal=$((status - 128))
  say "$program was killed by signal $signal ($(kill -l "$signal" 2>/dev/null))"
elif [ "$status" -ne 0 ]; then
  # A program that printed nothing still leaves this line: whether Wine could not start it, it
  # crashed (Wine gives the exception code's low byte, 5 for an access violation), or its tests
  # failed (1).
  say "$program ended with status $status"
fi
exit "$status"
