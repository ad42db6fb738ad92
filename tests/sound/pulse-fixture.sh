#!/bin/sh
# pulse-fixture.sh start|stop FOLDER: a PulseAudio sound server of the tests' own (clients
# set PULSE_SERVER=unix:FOLDER/pa.sock) with one null sink ("null") whose monitor the tests
# record. Its runtime folder, socket and home live in FOLDER; no sound card or system service
# is touched. The sink runs at 44100 Hz, and so should a recording of its monitor: a stream
# of the other family of rates (48000, 8000) makes the server switch the sink's rate, which
# stalls a recording already running. Without pulseaudio it exits 77: the sound tests skip.
daemon=pulseaudio
. "$(dirname "$0")/../support/fixture-daemon.sh"

if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
  echo "pulseaudio or pactl missing (tools/deps.sh installs pulseaudio and pulseaudio-utils); sound tests skipped"
  exit 77
fi
export HOME="$folder" XDG_RUNTIME_DIR="$folder" XDG_CONFIG_HOME="$folder/config"
start_daemon pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
  -L "module-null-sink sink_name=null rate=44100" \
  -L "module-native-protocol-unix socket=$folder/pa.sock auth-anonymous=1"
export PULSE_SERVER="unix:$folder/pa.sock"
wait_for pactl info
