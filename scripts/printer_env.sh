# Sourced: a CUPS PDF printer "PDF" for the printing tests, writing into build/pdf-out.
# Wine reads the printer list at each process start, so cupsd must run before the tests.
_pemboro_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export PEMBORO_PDF_OUT="$_pemboro_root/build/pdf-out"
PEMBORO_CUPSD_PID=

# `lpstat -r` exits with 0 whether or not the scheduler runs: only its words tell.
pemboro_cups_running() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

pemboro_start_printer() {
  [ "$(id -u)" -eq 0 ] || { echo "printing tests need root for cupsd; skipped"; return 0; }
  command -v cupsd >/dev/null 2>&1 || return 0
  mkdir -p /run/cups "$PEMBORO_PDF_OUT" && chmod 777 "$PEMBORO_PDF_OUT"
  sed -i "s|^#\?Out .*|Out $PEMBORO_PDF_OUT|" /etc/cups/cups-pdf.conf
  if ! pemboro_cups_running; then
    /usr/sbin/cupsd -f >/dev/null 2>&1 &
    PEMBORO_CUPSD_PID=$!
    for _ in $(seq 1 100); do pemboro_cups_running && break; sleep 0.05; done
  fi
  lpstat -p PDF >/dev/null 2>&1 ||
    lpadmin -p PDF -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=A4 -E >/dev/null 2>&1
  lpadmin -d PDF >/dev/null 2>&1 || true
  export PEMBORO_PRINTER=PDF
}

pemboro_stop_printer() {
  if [ -n "${PEMBORO_CUPSD_PID:-}" ]; then
    kill "$PEMBORO_CUPSD_PID" 2>/dev/null || true
    wait "$PEMBORO_CUPSD_PID" 2>/dev/null || true
    PEMBORO_CUPSD_PID=
  fi
}

pemboro_start_printer
