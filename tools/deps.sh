#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need; does
# nothing when they are all present. Uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev libx11-dev libxtst-dev
  libsqlite3-dev sqlite3
  libcups2-dev cups-daemon cups-client poppler-utils fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-apps xdotool netpbm
  diction espeak-ng sox python3
  qt6-multimedia-dev pulseaudio-utils
  lintian appstream desktop-file-utils x11-utils bc man-db
)
# The sound tests start a PulseAudio server of their own. A desktop whose sound already
# runs on PipeWire keeps it (the two packages exclude each other); its sound tests skip.
if ! dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q "install ok installed"; then
  packages+=(pulseaudio)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
