#!/usr/bin/env bash
# A CUPS scheduler of the tests' own: private configuration, spool and log
# folders under DIR, a socket of its own, and one cups-pdf queue whose PDFs
# land in DIR/out. The machine's own CUPS setup is left as it is: cups-pdf
# reads its settings from /etc/cups, so the scheduler runs in a mount
# namespace of its own where DIR/etc is mounted over /etc/cups.
#
#   private_cups.sh start DIR   starts it; DIR/server then holds the CUPS_SERVER value
#   private_cups.sh stop DIR    stops it
#
# Where the packages are missing and cannot be installed, start writes the
# reason to DIR/skipped and succeeds, so that the printing tests skip with it.
set -euo pipefail

action="${1:?usage: private_cups.sh start|stop DIR}"
dir="${2:?usage: private_cups.sh start|stop DIR}"
queue="talmeko-pdf"

stop() {
  local pidfile="$dir/run/cupsd.pid"
  [ -f "$pidfile" ] || return 0
  local pid
  pid="$(cat "$pidfile")"
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && grep -q cupsd "/proc/$pid/comm" 2>/dev/null; then
    kill "$pid"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$pidfile"
}

missing_tools() {
  local missing=()
  for tool in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/bin/lpstat /usr/lib/cups/backend/cups-pdf \
              /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/bin/pdfinfo /usr/bin/unshare; do
    [ -e "$tool" ] || missing+=("$tool")
  done
  echo "${missing[*]:-}"
}

write_config() {
  mkdir -p "$dir"/{etc/ppd,cache,state,spool/tmp,log,out,pdf-spool,run}
  chmod 755 "$dir" "$dir"/{etc,etc/ppd,cache,state,log,out,pdf-spool,run}
  chmod 710 "$dir/spool"
  chmod 1777 "$dir/spool/tmp"
  cat > "$dir/etc/cupsd.conf" <<CONF
LogLevel warn
Listen $socket
Browsing No
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat > "$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
CacheDir $dir/cache
StateDir $dir/state
RequestRoot $dir/spool
TempDir $dir/spool/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FileDevice No
Group lp
SystemGroup root
CONF
  cat > "$dir/etc/cups-pdf.conf" <<CONF
Out $dir/out
AnonDirName $dir/out
Spool $dir/pdf-spool
Log $dir/log
Label 0
TitlePref 1
Grp root
CONF
}

start() {
  stop
  rm -rf "$dir"
  mkdir -p "$dir"
  local missing
  missing="$(missing_tools)"
  if [ -n "$missing" ]; then
    echo "CUPS packages are not installed (missing: $missing); run scripts/setup.sh as root" | tee "$dir/skipped"
    return 0
  fi
  # A socket path must stay short; a deep build folder gets one in /tmp.
  socket="$dir/cups.sock"
  if [ ${#socket} -gt 100 ]; then socket="$(mktemp -d /tmp/talmeko-cups.XXXXXX)/cups.sock"; fi
  write_config
  # In the foreground of a session of its own, so its process id is known
  # and the test runner that started it does not wait for it.
  setsid unshare --mount --propagation private sh -c \
    "mount --bind '$dir/etc' /etc/cups && exec /usr/sbin/cupsd -f -c '$dir/etc/cupsd.conf' -s '$dir/etc/cups-files.conf'" \
    </dev/null >"$dir/log/cupsd.out" 2>&1 &
  echo $! > "$dir/run/cupsd.pid"
  for _ in $(seq 100); do
    [ -S "$socket" ] && lpstat -h "$socket" -r >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! lpstat -h "$socket" -r >/dev/null 2>&1; then
    echo "private CUPS scheduler did not start; see $dir/log" >&2
    cat "$dir/log/error_log" "$dir/log/cupsd.out" >&2 2>/dev/null || true
    stop
    return 1
  fi
  lpadmin -h "$socket" -p "$queue" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>"$dir/log/lpadmin.out"
  lpadmin -h "$socket" -d "$queue"
  echo "$socket" > "$dir/server"
  echo "$queue" > "$dir/queue"
  echo "private CUPS scheduler on $socket with queue $queue"
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: private_cups.sh start|stop DIR" >&2; exit 2 ;;
esac
