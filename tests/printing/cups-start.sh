#!/bin/bash
# Starts a private CUPS server with one PDF queue, "QuorbelPDF", as its
# default destination:  cups-start.sh STATE_DIR
# The server listens only on STATE_DIR/cups.sock, so a system cupsd or
# another test's server is never touched; programs reach this one through
# CUPS_SERVER=STATE_DIR/cups.sock.  cups-stop.sh ends it.  Every wait is
# bounded so that a broken set-up fails instead of hanging.
#
# The filters run as user lp, who may not be able to enter the build tree
# (a clone in root's home or in a mktemp -d folder): the server's files
# live in a fresh folder under /tmp, and STATE_DIR is a link to it.
set -u
link=$(realpath -m "$(dirname "$1")")/$(basename "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$here/cups-stop.sh" "$link" >/dev/null 2>&1
# A state folder of the build tree's own, left by an older set-up.
[ -d "$link" ] && [ ! -L "$link" ] && [ -f "$link/etc/cupsd.conf" ] && rm -rf -- "$link"
state=$(mktemp -d /tmp/quorbel-cups.XXXXXX) || exit 1
ln -sfnT "$state" "$link" || exit 1
mkdir -p "$state"/{etc/ppd,spool,cache,run,tmp,log,pdf}
chmod 755 "$state" "$state"/etc "$state"/etc/ppd "$state"/pdf
chmod 1777 "$state"/tmp

# The cups-pdf backend only reads its settings from /etc/cups, one file per
# device name; a name of our own keeps other users' settings untouched.
name="quorbel-$$-$RANDOM"
echo "$name" >"$state/pdf-name"
cat >"/etc/cups/cups-pdf-$name.conf" <<CONF
Out $state/pdf
AnonDirName $state/pdf
Label 0
TitlePref 1
Grp root
CONF

cat >"$state/etc/cupsd.conf" <<CONF
Listen $state/cups.sock
Browsing Off
LogLevel warn
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

cat >"$state/etc/cups-files.conf" <<CONF
ServerRoot $state/etc
RequestRoot $state/spool
CacheDir $state/cache
StateDir $state/run
TempDir $state/tmp
ErrorLog $state/log/error_log
AccessLog $state/log/access_log
PageLog $state/log/page_log
Printcap $state/printcap
SystemGroup root
CONF

/usr/sbin/cupsd -f -c "$state/etc/cupsd.conf" -s "$state/etc/cups-files.conf" \
  </dev/null >"$state/log/cupsd.out" 2>&1 &
echo $! >"$state/cupsd.pid"

export CUPS_SERVER="$state/cups.sock"
for _ in $(seq 100); do
  lpstat -r 2>/dev/null | grep -q "is running" && break
  sleep 0.1
done
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  echo "cupsd did not start:" >&2
  cat "$state/log/cupsd.out" "$state/log/error_log" >&2 2>/dev/null
  exit 1
fi
lpadmin -p QuorbelPDF -E -v "cups-pdf:/$name" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
  -o PageSize=A4 -o printer-error-policy=abort-job || exit 1
lpadmin -d QuorbelPDF || exit 1
cupsenable QuorbelPDF && cupsaccept QuorbelPDF || exit 1
echo "CUPS up at $CUPS_SERVER, PDFs in $state/pdf"
