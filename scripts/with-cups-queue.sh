#!/usr/bin/env bash
# with-cups-queue.sh COMMAND [ARGS...]
#
# Runs COMMAND while a private CUPS scheduler offers a cups-pdf queue as the
# default printer, the way a desktop with a printer looks to the program. The
# scheduler lives in a temporary folder, listens on its own socket only
# (CUPS_SERVER points COMMAND at it, VSL_TEST_PRINT_QUEUE names the queue) and
# is stopped afterwards; the machine's own printing system is not touched.
# Exits 77 (skipped) when cupsd or the cups-pdf driver is missing.
set -euo pipefail

QUEUE=VslTestPdf
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
CUPSD=$(command -v cupsd || echo /usr/sbin/cupsd)
if [ ! -x "$CUPSD" ] || [ ! -f "$PPD" ]; then
  echo "cupsd or the cups-pdf driver is missing: install cups and printer-driver-cups-pdf (scripts/install-deps.sh)"
  exit 77
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/vsl-cups.XXXXXX")
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

# cupsd started by root runs filters and backends as an unprivileged user
# and refuses to run them as root; an ordinary user runs them as itself.
if [ "$(id -u)" -eq 0 ]; then
  user=lp group=lp
else
  user=$(id -un) group=$(id -gn)
fi
chmod 755 "$dir"
mkdir -p "$dir/root/ppd" "$dir/spool" "$dir/cache" "$dir/state" "$dir/tmp" "$dir/log"
cat >"$dir/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$dir/cups-files.conf" <<EOF
ServerRoot $dir/root
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
ServerBin /usr/lib/cups
DataDir /usr/share/cups
User $user
Group $group
EOF
cp "$PPD" "$dir/root/ppd/$QUEUE.ppd"
cat >"$dir/root/printers.conf" <<EOF
<DefaultPrinter $QUEUE>
Info PDF queue of the test run
DeviceURI cups-pdf:/
State Idle
Accepting Yes
Shared No
</DefaultPrinter>
EOF

"$CUPSD" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" &
pid=$!
export CUPS_SERVER="$dir/cups.sock"
export VSL_TEST_PRINT_QUEUE="$QUEUE"

# Wait until the scheduler answers and offers the queue (or has died).
for _ in $(seq 1 200); do
  if lpstat -d 2>/dev/null | grep -q "$QUEUE"; then
    break
  fi
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "cupsd did not start:"
    cat "$dir/log/error_log" 2>/dev/null || true
    exit 1
  fi
  sleep 0.05
done
if ! lpstat -d 2>/dev/null | grep -q "$QUEUE"; then
  echo "cupsd does not offer $QUEUE:"
  cat "$dir/log/error_log" 2>/dev/null || true
  exit 1
fi

status=0
"$@" || status=$?
# A job that reached the queue instead of the file shows in its list.
jobs=$(lpstat -W all -o "$QUEUE" 2>/dev/null || true)
if [ -n "$jobs" ]; then
  echo "jobs were sent to the printer queue $QUEUE:"
  echo "$jobs"
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
