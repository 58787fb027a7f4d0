# Sourced: a CUPS scheduler of this run's own, with two PDF printers for the printing tests and
# for the presenter: "PDF" (A4, the default) and "Letter" (US Letter). Their jobs become PDF files
# in build/pdf-out. Everything the scheduler needs lives in build/cups, it listens on a socket
# there, and CUPS_SERVER points the programs started from here (Wine included) at it; the
# system's CUPS and its configuration are left alone. Wine reads the printer list at each
# process start, so the scheduler runs before the first Wine process. Needs root for cupsd.
# Without it (not root, or no cupsd) the programs started from here see the user's printers, as a
# presenter run should; tests and benchmarks call pemboro_own_printers_only, so that they then see
# no printer at all and nothing they print reaches a real queue.
_pemboro_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PEMBORO_CUPS_DIR="$_pemboro_root/build/cups"
PEMBORO_CUPSD_PID=

# `lpstat -r` exits with 0 whether or not the scheduler runs: only its words tell.
pemboro_cups_running() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

_pemboro_write_cups_config() {
    local d=$PEMBORO_CUPS_DIR
    cat >"$d/cups-files.conf" <<EOF
ServerRoot $d/etc
ServerBin $d/bin
RequestRoot $d/spool
CacheDir $d/cache
StateDir $d/state
TempDir $d/tmp
ErrorLog $d/log/error_log
AccessLog $d/log/access_log
PageLog $d/log/page_log
Printcap $d/printcap
SetEnv PEMBORO_PDF_OUT $PEMBORO_PDF_OUT
EOF
    # Only this socket, no network, no sharing; anyone who can reach the socket may administer.
    cat >"$d/cupsd.conf" <<EOF
LogLevel warn
Listen $d/cups.sock
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultShared No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
}

# A scheduler that an earlier run of this folder left behind (its shell was killed) is ended:
# it is known by the pid it left and by the configuration file on its command line.
_pemboro_end_stale_cupsd() {
    local pidfile="$_pemboro_root/build/cupsd.pid" pid
    [ -f "$pidfile" ] || return 0
    pid=$(cat "$pidfile")
    if [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$PEMBORO_CUPS_DIR/cupsd.conf"; then
        kill "$pid" 2>/dev/null
        local _
        for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$pidfile"
}

# Keeps the run's own scheduler when it runs; otherwise points CUPS at a socket where no scheduler
# listens, whatever CUPS_SERVER or default printer the user has set: printing finds no printer.
pemboro_own_printers_only() {
    [ -n "${PEMBORO_CUPSD_PID:-}" ] && [ -n "${PEMBORO_PRINTER:-}" ] && return 0
    export CUPS_SERVER="$_pemboro_root/build/no-printer.sock"
    unset PEMBORO_PRINTER PEMBORO_PDF_OUT PRINTER LPDEST
}

pemboro_start_printer() {
    [ "$(id -u)" -eq 0 ] || { echo "printing tests need root for cupsd; skipped"; return 0; }
    command -v cupsd >/dev/null 2>&1 || return 0
    export PEMBORO_PDF_OUT="$_pemboro_root/build/pdf-out"
    pemboro_stop_printer
    _pemboro_end_stale_cupsd
    local d=$PEMBORO_CUPS_DIR
    rm -rf "$d"
    mkdir -p "$d"/{etc/ppd,bin,spool,cache,state,tmp,log} "$PEMBORO_PDF_OUT"
    # The system's filters and helpers, with the one backend that writes into the build folder.
    local part
    for part in /usr/lib/cups/*; do
        [ "$(basename "$part")" = backend ] || ln -s "$part" "$d/bin/"
    done
    mkdir -p "$d/bin/backend"
    install -m 0700 "$_pemboro_root/scripts/pdf_printer_backend.sh" "$d/bin/backend/pemboro-pdf"
    _pemboro_write_cups_config

    /usr/sbin/cupsd -f -c "$d/cupsd.conf" -s "$d/cups-files.conf" >"$d/log/cupsd.out" 2>&1 &
    PEMBORO_CUPSD_PID=$!
    echo "$PEMBORO_CUPSD_PID" >"$_pemboro_root/build/cupsd.pid"
    export CUPS_SERVER="$d/cups.sock"
    local _
    for _ in $(seq 1 100); do pemboro_cups_running && break; sleep 0.05; done
    if ! pemboro_cups_running; then
        echo "the run's own CUPS scheduler did not start; see $d/log" >&2
        pemboro_stop_printer
        return 1
    fi
    # The PDF printer's own description, with one change: the PostScript that Wine writes goes to
    # the backend as it is (it carries the page size already). CUPS would otherwise pass it
    # through its page filter first, which takes a minute for the 400 MB of a whole deck.
    local ppd="$d/pdf-printer.ppd"
    sed '/^\*% cupsFilter:/a *cupsFilter2: "application/postscript application/vnd.cups-postscript 0 -"' \
        /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >"$ppd" || return 1
    lpadmin -p PDF -v pemboro-pdf:/ -P "$ppd" -o PageSize=A4 -E >/dev/null 2>&1 &&
        lpadmin -p Letter -v pemboro-pdf:/ -P "$ppd" -o PageSize=Letter -E >/dev/null 2>&1 &&
        lpadmin -d PDF >/dev/null 2>&1 || {
        echo "could not set up the PDF printers" >&2
        pemboro_stop_printer
        return 1
    }
    export PEMBORO_PRINTER=PDF
}

pemboro_stop_printer() {
    if [ -n "${PEMBORO_CUPSD_PID:-}" ]; then
        kill "$PEMBORO_CUPSD_PID" 2>/dev/null || true
        wait "$PEMBORO_CUPSD_PID" 2>/dev/null || true
        PEMBORO_CUPSD_PID=
        rm -f "$_pemboro_root/build/cupsd.pid"
    fi
    unset PEMBORO_PRINTER
}

pemboro_start_printer
