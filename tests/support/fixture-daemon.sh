# Sourced by the fixtures that start a daemon of the tests' own in a folder.
# stop_daemon FOLDER PIDFILE NAME: ends the daemon whose process id PIDFILE holds (only
# when that process is still NAME, so a reused id is never killed), waits up to five
# seconds for it to go, and removes FOLDER.
stop_daemon() {
  if [ -f "$1/$2" ]; then
    pid=$(cat "$1/$2")
    if kill -0 "$pid" 2>/dev/null && grep -q "$3" "/proc/$pid/cmdline" 2>/dev/null; then
      kill "$pid"
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
  fi
  rm -rf "$1"
}
