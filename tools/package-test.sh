#!/usr/bin/env bash
# Builds the Debian packages from a Release build, checks them (lintian, AppStream,
# desktop entry), installs them with apt, and as a freshly created ordinary user runs the
# installed kcs-report on the practice disk and starts the installed kcs under a virtual
# X server until its main window is up. Then removes the packages and checks that the
# user's data stayed. Needs root (or sudo) for apt and the user.
#
#   tools/package-test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-$root/build-pkg}
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
user=kcs-package-check

step() { printf '\n== %s\n' "$*"; }
fail() { echo "package check FAILED: $*" >&2; exit 1; }

step "Release build and packages"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKCS_BUILD_TESTS=OFF -DKCS_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target package | tail -3
debs=("$build"/kcs_*_amd64.deb "$build"/kcs-voices_*_all.deb)
ls -l "${debs[@]}"

step "lintian (errors fail; warnings are listed)"
lintian --tag-display-limit 0 "${debs[@]}" | tee "$build/lintian.txt" || true
if grep -q '^E:' "$build/lintian.txt"; then fail "lintian reports errors"; fi

step "install with apt"
started=$(date +%s.%N)
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${debs[@]}" >/dev/null
echo "installed in $(echo "$(date +%s.%N) - $started" | bc) s"
appstreamcli validate --no-net /usr/share/metainfo/org.example.kcs.metainfo.xml
desktop-file-validate /usr/share/applications/org.example.kcs.desktop
man -l /usr/share/man/man1/kcs-report.1.gz >/dev/null
kcs-report --version

step "as a new ordinary user"
"${sudo_cmd[@]}" userdel -r "$user" 2>/dev/null || true
"${sudo_cmd[@]}" useradd -m -s /bin/bash "$user"
as_user() { "${sudo_cmd[@]}" runuser -u "$user" -- env -i HOME="/home/$user" PATH=/usr/bin:/bin "$@"; }
as_user kcs-report --program-folder /usr/share/kcs --client-file /usr/share/kcs/practice-disk/DATA401.KCS \
    --client 1 --output "/home/$user/report-1.prn"
grep -q 'KESTREL CONDUCT SCREENING' "/home/$user/report-1.prn" || fail "no report written"
as_user kcs-report --check --program-folder /usr/share/kcs

# The program runs until its main window ("Kestrel Conduct Screening") is on the display.
started=$(date +%s.%N)
as_user xvfb-run -a -s "-screen 0 1280x800x24" sh -c '
    kcs & pid=$!
    for i in $(seq 120); do
        if xwininfo -root -tree | grep -q "\"Kestrel Conduct Screening\""; then kill $pid; exit 0; fi
        sleep 0.5
    done
    kill $pid; exit 1' || fail "the installed program did not reach its main window"
echo "first start to the main window (with the seven-second splash) in $(echo "$(date +%s.%N) - $started" | bc) s"
folder="/home/$user/.local/share/kcs"
for f in kcstest.ini practice-disk/DATA401.KCS practice-disk/TID; do
    [[ -f "$folder/$f" ]] || fail "$folder/$f was not made"
done
[[ $(stat -c %a "$folder") == 700 ]] || fail "$folder is not private (mode $(stat -c %a "$folder"))"
[[ -L "$folder/KCS32.MDB" ]] || fail "$folder/KCS32.MDB is not a link to the installed bank"
before=$(sha256sum "$folder/practice-disk/DATA401.KCS" "$folder/kcstest.ini")

step "remove the packages; the user's data stay"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq kcs kcs-voices >/dev/null
[[ ! -e /usr/bin/kcs ]] || fail "kcs is still installed"
[[ "$(sha256sum "$folder/practice-disk/DATA401.KCS" "$folder/kcstest.ini")" == "$before" ]] || fail "the user's data changed"
"${sudo_cmd[@]}" userdel -r "$user" 2>/dev/null || true
echo "package check passed"
