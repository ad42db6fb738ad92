#!/bin/sh
# A PulseAudio sound server of the tests' own, with one null sink ("null") whose monitor
# the tests record: its runtime folder, socket and home live in FOLDER, and no sound card
# or system service is touched. The sink runs at 44100 Hz, and so should a recording of its
# monitor: a stream of the other family of rates (48000, 8000) makes the server switch the
# sink's rate, which stalls a recording already running.
#
#   pulse-fixture.sh start FOLDER    (clients set PULSE_SERVER=unix:FOLDER/pa.sock)
#   pulse-fixture.sh stop FOLDER
#
# Without pulseaudio installed it says so and exits 77, and the sound tests skip.
set -eu
action=$1
folder=$2

. "$(dirname "$0")/../support/fixture-daemon.sh"
stop() { stop_daemon "$folder" pulse.pid pulseaudio; }

if [ "$action" = stop ]; then stop; exit 0; fi

if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
  echo "pulseaudio or pactl missing (tools/deps.sh installs pulseaudio and pulseaudio-utils); sound tests skipped"
  exit 77
fi

stop
mkdir -p "$folder"
chmod 700 "$folder"
folder=$(cd "$folder" && pwd)
export HOME="$folder" XDG_RUNTIME_DIR="$folder" XDG_CONFIG_HOME="$folder/config"
setsid pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
  -L "module-null-sink sink_name=null rate=44100" \
  -L "module-native-protocol-unix socket=$folder/pa.sock auth-anonymous=1" \
  >"$folder/pulse.out" 2>&1 </dev/null &
echo $! > "$folder/pulse.pid"

export PULSE_SERVER="unix:$folder/pa.sock"
for _ in $(seq 100); do
  pactl info >/dev/null 2>&1 && exit 0
  sleep 0.1
done
cat "$folder/pulse.out"
exit 1
