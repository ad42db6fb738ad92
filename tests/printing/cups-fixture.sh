#!/bin/sh
# cups-fixture.sh start|stop FOLDER: a CUPS scheduler of the tests' own, beside any system
# one (clients set CUPS_SERVER=FOLDER/cups.sock). Its configuration, spool, logs and socket
# all live in FOLDER, and its one queue ("kcs-capture", the default) hands every job, byte
# for byte, to a backend that files it as FOLDER/jobs/job-NNNNNN. cupsd refuses to run jobs
# as root and runs backends as "lp", so FOLDER is group-owned by lp. Needs root (as CI has);
# elsewhere it says so and exits 77, and the printing tests skip.
daemon=cupsd
. "$(dirname "$0")/../support/fixture-daemon.sh"

if [ "$(id -u)" -ne 0 ]; then
  echo "the private CUPS scheduler needs root; printing tests skipped"
  exit 77
fi
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
if [ ! -x "$cupsd" ] || ! command -v lpadmin >/dev/null; then
  echo "cupsd or lpadmin missing (tools/deps.sh installs cups-daemon and cups-client)"
  exit 1
fi
mkdir -p "$folder/spool/tmp" "$folder/cache" "$folder/state" "$folder/jobs" "$folder/bin/backend" "$folder/ppd"

# ServerBin: the system's filters and helpers, and a backend folder holding only ours.
for entry in /usr/lib/cups/*; do
  [ "$(basename "$entry")" = backend ] || ln -s "$entry" "$folder/bin/$(basename "$entry")"
done
cat > "$folder/bin/backend/capture" <<BACKEND
#!/bin/sh
if [ \$# -eq 0 ]; then echo 'direct capture "Unknown" "Capture"'; exit 0; fi
out=$folder/jobs/job-\$(printf %06d "\$1")
cat "\${6:-/dev/stdin}" > "\$out.part"
mv "\$out.part" "\$out"
BACKEND
chmod 755 "$folder/bin/backend/capture" "$folder/bin/backend" "$folder/bin"

cat > "$folder/cupsd.conf" <<CONF
Listen $folder/cups.sock
<Location />
  Order allow,deny
  Allow all
</Location>
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

start_daemon "$cupsd" -f -c "$folder/cupsd.conf" -s "$folder/cups-files.conf"
export CUPS_SERVER="$folder/cups.sock"
wait_for sh -c 'lpstat -r | grep -q "is running"'
lpadmin -p kcs-capture -E -v capture:/ -m raw
lpadmin -d kcs-capture
lpstat -d | grep -q kcs-capture || { cat "$folder/error_log" "$folder/daemon.out" 2>/dev/null; exit 1; }
