#!/bin/sh
# A CUPS scheduler of the tests' own, beside any system one: its configuration, spool,
# logs and socket all live in FOLDER, and its one queue ("kcs-capture", the default) hands
# every job, byte for byte, to a backend that files it as FOLDER/jobs/job-NNNNNN.
#
#   cups-fixture.sh start FOLDER    (prints nothing on success; clients set CUPS_SERVER=FOLDER/cups.sock)
#   cups-fixture.sh stop FOLDER
#
# cupsd refuses to run jobs as root and runs backends as "lp", so FOLDER is group-owned by lp.
# Needs root (as CI has); elsewhere it says so and exits 77, and the printing tests skip.
set -eu
action=$1
folder=$2

. "$(dirname "$0")/../support/fixture-daemon.sh"
stop() { stop_daemon "$folder" cupsd.pid cupsd; }

if [ "$action" = stop ]; then stop; exit 0; fi

if [ "$(id -u)" -ne 0 ]; then
  echo "the private CUPS scheduler needs root; printing tests skipped"
  exit 77
fi
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
if [ ! -x "$cupsd" ] || ! command -v lpadmin >/dev/null; then
  echo "cupsd or lpadmin missing (tools/deps.sh installs cups-daemon and cups-client)"
  exit 1
fi

stop
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
mkdir -p "$folder/spool/tmp" "$folder/cache" "$folder/state" "$folder/jobs" "$folder/bin/backend" "$folder/ppd"

# ServerBin: the system's filters and helpers, and a backend folder holding only ours.
for entry in /usr/lib/cups/*; do
  [ "$(basename "$entry")" = backend ] || ln -s "$entry" "$folder/bin/$(basename "$entry")"
done
cat > "$folder/bin/backend/capture" <<BACKEND
#!/bin/sh
if [ \$# -eq 0 ]; then echo 'direct capture "Unknown" "Capture"'; exit 0; fi
out=$folder/jobs/job-\$(printf %06d "\$1")
if [ \$# -ge 6 ]; then cat "\$6" > "\$out.part"; else cat > "\$out.part"; fi
mv "\$out.part" "\$out"
BACKEND
chmod 755 "$folder/bin/backend/capture" "$folder/bin/backend" "$folder/bin"

cat > "$folder/cupsd.conf" <<CONF
Listen $folder/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
cat > "$folder/cups-files.conf" <<CONF
User lp
Group lp
ServerRoot $folder
RequestRoot $folder/spool
CacheDir $folder/cache
StateDir $folder/state
TempDir $folder/spool/tmp
AccessLog $folder/access_log
ErrorLog $folder/error_log
PageLog $folder/page_log
Printcap $folder/printcap
ServerBin $folder/bin
CONF
chgrp -R lp "$folder"
chmod 775 "$folder" "$folder/spool" "$folder/spool/tmp" "$folder/cache" "$folder/state" "$folder/jobs" "$folder/ppd"
chown lp "$folder/jobs"

setsid "$cupsd" -f -c "$folder/cupsd.conf" -s "$folder/cups-files.conf" \
  >"$folder/cupsd.out" 2>&1 </dev/null &
echo $! > "$folder/cupsd.pid"

export CUPS_SERVER="$folder/cups.sock"
for _ in $(seq 100); do
  lpstat -r 2>/dev/null | grep -q "is running" && break
  sleep 0.1
done
lpadmin -p kcs-capture -E -v capture:/ -m raw
lpadmin -d kcs-capture
lpstat -d | grep -q kcs-capture || { cat "$folder/error_log" "$folder/cupsd.out" 2>/dev/null; exit 1; }
