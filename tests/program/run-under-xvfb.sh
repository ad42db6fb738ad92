#!/bin/sh
# Runs a test program on a virtual X display; skipped (77) where there is none to start.
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run not installed: screenshot test skipped"
  exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb "$@"
