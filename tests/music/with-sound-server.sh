#!/usr/bin/env bash
# Runs one command beside a private sound server whose only output device is a silent null
# sink, and records everything played on it; stops the server and the recorder afterwards.
#
#   with-sound-server.sh COMMAND [ARGS...]
#
# The recording is raw signed 16-bit little-endian mono at 8000 Hz and grows in real time while
# the command runs. KINELOOP_SOUND_RECORDING names where it goes (kept afterwards); without it the
# recording goes to a temporary file that is removed. The command sees KINELOOP_SOUND_RECORDING
# and PULSE_SERVER, so Wine programs it starts play on the recorded device and can read the
# recording through drive Z:. Exits with the command's status; every step that fails says so on
# standard error ("with-sound-server: ...").
set -u
say() { echo "with-sound-server: $*" >&2; }

work=$(mktemp -d)
chmod 700 "$work"
mkdir -p "$work/run" "$work/home"
chmod 700 "$work/run"
recording=${KINELOOP_SOUND_RECORDING:-$work/recording.raw}
recording=$(realpath -m "$recording")
server_pid=
recorder_pid=
command_pid=

stop_process() {  # pid: ask it to end, then wait for it (forcing it after five seconds)
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null
    for _ in $(seq 1 100); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.05
    done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
cleanup() {
    stop_process "$command_pid"
    stop_process "$recorder_pid"
    stop_process "$server_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'say "stopped by a signal"; exit 143' TERM INT

# Clients reach this server only, never start one of their own, and keep out of the real home.
export PULSE_SERVER="unix:$work/run/native"
export PULSE_COOKIE="$work/cookie"
printf 'autospawn = no\n' >"$work/client.conf"
export PULSE_CLIENTCONFIG="$work/client.conf"
export KINELOOP_SOUND_RECORDING="$recording"
: >"$recording"

# The server runs as whoever runs the tests (root on the build machines, which it warns about).
HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home" \
    pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 \
    --disable-shm=yes --log-target=stderr --log-level=error \
    -L "module-null-sink sink_name=kineloop_sink" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$work/run/native" \
    2>"$work/server.log" &
server_pid=$!
ready=
for _ in $(seq 1 400); do
    if pactl info >/dev/null 2>&1; then
        ready=1
        break
    fi
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.05
done
if [ -z "$ready" ]; then
    say "the sound server (pulseaudio) did not start"
    cat "$work/server.log" >&2
    exit 1
fi

parec --device=kineloop_sink.monitor --raw --format=s16le --rate=8000 --channels=1 \
    --latency-msec=20 >"$recording" 2>"$work/recorder.log" &
recorder_pid=$!
# The recording has begun once the first silence from the sink has arrived.
for _ in $(seq 1 400); do
    [ -s "$recording" ] && break
    kill -0 "$recorder_pid" 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$recording" ]; then
    say "the recorder (parec) did not start"
    cat "$work/recorder.log" >&2
    exit 1
fi

# In the background, so that a TERM reaches the trap at once and the command is stopped first.
"$@" &
command_pid=$!
wait "$command_pid"
status=$?
command_pid=
if [ "$status" -ne 0 ]; then
    # The test's own words come first; this says whether the sound side gave way under it.
    if ! kill -0 "$server_pid" 2>/dev/null; then
        say "the sound server stopped during the run"
        cat "$work/server.log" >&2
    fi
    if ! kill -0 "$recorder_pid" 2>/dev/null; then
        say "the recorder stopped during the run"
        cat "$work/recorder.log" >&2
    fi
    say "$(basename "${!#}") ended with status $status"
fi
exit "$status"
