#!/usr/bin/env bash
# Makes the pictures of docs/guide.md. Starts the real program on a copy of the practice
# data disk on a virtual X display (no window manager), drives it with real key presses
# the way a supervisor does, and grabs each window into docs/images/NAME.png (8-bit
# palette). A step whose window the keys do not reach is skipped with a note; the rest
# still run. Nothing of the build folder or the practice disk is changed.
#
#   tools/screenshots.sh                 # builds the program in build/ as tools/run.sh does
#   tools/screenshots.sh BUILD-FOLDER    # uses BUILD-FOLDER/bin/kcs as it is
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/docs/images

if [[ -z ${KCS_SHOTS_FOLDER:-} ]]; then
  tools/deps.sh
  if [[ $# -ge 1 ]]; then
    build=$(cd "$1" && pwd)
  else
    build=$root/build
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKCS_BUILD_TESTS=OFF -DKCS_BUILD_BENCH=OFF
    cmake --build "$build" -j "$(nproc)"
  fi
  [[ -x $build/bin/kcs ]] || { echo "no program at $build/bin/kcs" >&2; exit 2; }

  # A program folder of its own: the program, its data files and a fresh practice disk.
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/program" "$work/home" "$work/run"
  chmod 700 "$work/run"
  cp "$build/bin/kcs" "$build/bin/KCS32.MDB" "$build/bin/"*.TXT "$build/bin/"*.svg "$work/program/"
  cp -r data/practice-disk "$work/program/practice-disk"
  printf '[Path]\r\nFilePath=practice-disk\r\nSndPath=.\r\n\r\n[Settings]\r\nNumLock=False\r\nPrintDOS=False\r\n' \
    >"$work/program/kcstest.ini"
  # The spoken statements, when this build has made them (the test then shows as with sound).
  [[ -d $build/bin/KCSTest ]] && ln -s "$build/bin/KCSTest" "$work/program/KCSTest"
  mkdir -p "$out"
  KCS_SHOTS_FOLDER=$work xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0"
  exit
fi

# ---- On the virtual display from here on. ----
set +e  # a step that does not reach its window is noted and skipped, not the end
work=$KCS_SHOTS_FOLDER
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/home/data QT_QPA_PLATFORM=xcb
export LANG=C.UTF-8 LC_ALL=C.UTF-8
"$work/program/kcs" >"$work/kcs.log" 2>&1 &
kcs_pid=$!
trap 'kill "$kcs_pid" 2>/dev/null || true' EXIT

made=() skipped=()
note() { echo "screenshots: $*" >&2; }
# The title of the window that has the keyboard (its top-level window).
keyboard_title() { xdotool getwindowfocus getwindowname 2>/dev/null || true; }
keyboard_window() { xdotool getwindowfocus 2>/dev/null || true; }
# Waits until the window with the keyboard has this title, or gives up after a while.
await() {
  local deadline=$((SECONDS + ${2:-20}))
  until [[ $(keyboard_title) == "$1" ]]; do
    if ((SECONDS >= deadline)); then note "\"$1\" not reached; the keyboard is in \"$(keyboard_title)\""; return 1; fi
    sleep 0.1
  done
}
# Waits until a window other than `$2` with the keyboard has the title `$1` (a message box
# that shares its title with the main window).
await_other() {
  local deadline=$((SECONDS + ${3:-20}))
  until [[ $(keyboard_title) == "$1" && $(keyboard_window) != "$2" ]]; do
    if ((SECONDS >= deadline)); then note "a box \"$1\" not reached"; return 1; fi
    sleep 0.1
  done
}
keys() { xdotool key --clearmodifiers --delay 80 "$@"; sleep 0.3; }
typed() { xdotool type --delay 60 "$1"; sleep 0.2; }
# Grabs a window (the one with the keyboard unless given) once it has finished drawing.
# Drawn means: two grabs in a row alike, and more than one colour in them.
shot() {
  local name=$1 id=${2:-$(keyboard_window)} previous="" current
  for _ in $(seq 25); do
    sleep 0.3
    xwd -silent -id "$id" 2>/dev/null | xwdtopnm 2>/dev/null >"$work/shot.ppm" || continue
    current=$(md5sum <"$work/shot.ppm")
    [[ $current == "$previous" && $(ppmhist -noheader "$work/shot.ppm" | head -2 | wc -l) -gt 1 ]] && break
    previous=$current
  done
  pnmquant 256 <"$work/shot.ppm" 2>/dev/null | pnmtopng -compression 9 >"$out/$name.png"
  made+=("$name")
}
skip() { skipped+=("$1"); note "skipped $1"; }
# Fills client information and court history of a new client and confirms both.
new_client() {
  await "Client Information" || return 1
  for value in "$@"; do typed "$value"; keys Return; done
}
client_details=("Ann Smith" 34 2 5 1 12 07041961)
court_counts=(17 3 2 1 0 9 4 1 2 3 n)

# Start-up: the splash while the clients load, then the main menu.
if splash=$(timeout 20 xdotool search --sync --onlyvisible --name '^Initializing\.\.\.$' 2>/dev/null | head -1) &&
   [[ -n $splash ]]; then
  shot splash "$splash"
else
  skip splash
fi
await "Kestrel Conduct Screening" 30 || { note "the main menu did not come up; see $work/kcs.log"; cat "$work/kcs.log" >&2; exit 1; }
main=$(keyboard_window)
keys Down
shot main-menu

keys alt+a
await "About Kestrel Conduct Screening" && { shot about; keys Return; }
await "Kestrel Conduct Screening"

keys alt+o
sleep 0.5
shot options-menu "$(xdotool search --onlyvisible --class kcs | tail -1)"
keys Return
if await "Select Drive"; then shot select-drive; keys Return; else skip select-drive; fi
await "Kestrel Conduct Screening"

# The main menu's buttons: with a client picked, Tab lands on the first one.
menu_button() { keys Down Tab; for ((i = 0; i < $1; ++i)); do keys Down; done; keys Return; }

# A client from a paper answer sheet.
menu_button 1
if await "Entry Method"; then
  shot entry-method
  keys Down Return
  await "Client Information"
  for value in "${client_details[@]}"; do typed "$value"; keys Return; done
  shot client-information
  keys Return
  await "Court History"
  for value in "${court_counts[@]}"; do typed "$value"; keys Return; done
  shot court-history
  keys Return
  if await "Edit Client Responses"; then
    sheet=""
    for item in $(seq 1 158); do
      if ((item <= 99)); then sheet+=$((1 + item % 2)); else sheet+=$((1 + item % 4)); fi
    done
    typed "${sheet:0:120}"
    shot answer-sheet
    typed "${sheet:120}"
    keys Tab Return
  fi
fi
await "Kestrel Conduct Screening"

# Supervisor Options on the third client: its tabs, then each of its operations.
open_options() {
  await "Kestrel Conduct Screening" || return 1
  menu_button 2
  await "Supervisor Options"
}
secret_code() { await "Secret Code" && { [[ ${1:-} ]] && shot "$1"; typed m; keys Return Return; }; }

if open_options; then
  shot options-reports
  keys ctrl+Tab; shot options-verify
  keys ctrl+Tab; shot options-delete-names
  keys Escape
fi

if open_options; then
  keys Tab Tab Tab Return
  secret_code secret-code
  if await "Client Report"; then shot report-viewer; keys alt+c; else skip report-viewer; fi
fi

if open_options; then
  keys Tab Down Tab Tab Return
  secret_code
  if await "Print Selected Reports"; then
    keys Down Down space Down Down space
    shot print-selected
    keys Tab Tab Tab Return
  else
    skip print-selected
  fi
fi

if open_options; then
  keys ctrl+Tab Tab Return
  if await "Test Data Input Verification"; then
    typed 1212121212
    shot verification
    keys Escape
    await_other "Kestrel Conduct Screening" "$main" 3 && keys Return
  else
    skip verification
  fi
fi
await "Kestrel Conduct Screening" 5 || keys Escape

if open_options; then
  keys alt+d Tab Return
  if await "WARNING!"; then shot delete-names; keys Escape; else skip delete-names; fi
fi

# The test given on screen: the language window, the box before the first item, the first item.
await "Kestrel Conduct Screening"
menu_button 1
if await "Entry Method"; then
  keys Return
  await "Client Information"
  for value in "${client_details[@]}"; do typed "$value"; keys Return; done
  keys Return
  await "Court History"
  for value in "${court_counts[@]}"; do typed "$value"; keys Return; done
  keys Return
  if await "Select Presentation Language" 5; then
    shot select-language
    keys Return
    if await_other "Kestrel Conduct Screening" "$main" 5; then shot test-begins; keys Return; fi
    if await "Question Presentation" 10; then
      shot test-instructions
      keys Return Return
      shot question-presentation
    else
      skip question-presentation
    fi
  else
    skip "select-language and question-presentation (the on-screen test is not reached from the keyboard in this build)"
  fi
fi

echo "screenshots: made ${#made[@]} in docs/images: ${made[*]}"
[[ ${#skipped[@]} -eq 0 ]] || echo "screenshots: skipped: ${skipped[*]}"
