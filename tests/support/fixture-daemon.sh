# Sourced by a fixture (arguments start|stop FOLDER) that runs the program `daemon` in
# FOLDER. First ends the daemon FOLDER/daemon.pid names (only while that process is still
# the daemon: an id may be reused), waiting up to five seconds, and removes FOLDER; "stop"
# ends there, "start" goes on in FOLDER made afresh (private, its path absolute).
set -eu
folder=$2
pid=$(cat "$folder/daemon.pid" 2>/dev/null || true)
if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && grep -q "$daemon" "/proc/$pid/cmdline" 2>/dev/null; then
  kill "$pid"
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
fi
rm -rf "$folder"
[ "$1" = stop ] && exit 0
mkdir -p -m 700 "$folder"
folder=$(cd "$folder" && pwd)

# start_daemon COMMAND...: the daemon in a session of its own, its output in FOLDER/daemon.out.
start_daemon() {
  setsid "$@" >"$folder/daemon.out" 2>&1 </dev/null &
  echo $! >"$folder/daemon.pid"
}

# wait_for COMMAND...: up to ten seconds for COMMAND to succeed, else fails showing that output.
wait_for() {
  for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  cat "$folder/daemon.out"
  exit 1
}
