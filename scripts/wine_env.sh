# Sourced: a project-local Wine prefix with a virtual desktop, a persistent wineserver,
# and a display (the caller's, or a virtual one when PEMBORO_OWN_DISPLAY=1 or none is set).
# The desktop, and a virtual display, are PEMBORO_DESKTOP_SIZE (WxH) large, 1920x1080 unless
# the caller says otherwise.
# The prefix is build/wineprefix unless PEMBORO_WINEPREFIX names another. Never touches ~/.wine.
_pemboro_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${PEMBORO_WINEPREFIX:-$_pemboro_root/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
export WINEARCH=win64

pemboro_start_xvfb() {
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${PEMBORO_DESKTOP_SIZE:-1920x1080}x24" -nolisten tcp >/dev/null 2>&1 &
    PEMBORO_XVFB_PID=$!
    export DISPLAY=":$n"
    # The socket is there before the server takes connections: wait for an answer.
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && xwininfo -root >/dev/null 2>&1 && return 0
      sleep 0.05
    done
    pemboro_stop_xvfb
  done
  echo "could not start Xvfb" >&2
  return 1
}

pemboro_stop_xvfb() {
  if [ -n "${PEMBORO_XVFB_PID:-}" ]; then
    kill "$PEMBORO_XVFB_PID" 2>/dev/null || true
    wait "$PEMBORO_XVFB_PID" 2>/dev/null || true
    PEMBORO_XVFB_PID=
  fi
}

if [ "${PEMBORO_OWN_DISPLAY:-0}" = 1 ] || [ -z "${DISPLAY:-}" ]; then
  pemboro_start_xvfb
fi

if [ ! -f "$WINEPREFIX/.pemboro-ready" ]; then
  echo "Creating the Wine prefix in $WINEPREFIX (once)..."
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Pemboro /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Pemboro /d 1920x1080 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.pemboro-ready"
fi
# A persistent server makes each later Wine process start in a fraction of the time.
wineserver -p >/dev/null 2>&1 || true

# The desktop reads its size when it starts, and the prefix is shared by runs on a real screen
# and by the tests: each session writes the size it needs before anything opens a window.
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Pemboro /d "${PEMBORO_DESKTOP_SIZE:-1920x1080}" /f \
  >/dev/null 2>&1

# The virtual desktop lives as long as some window does; the keeper holds one, and since it
# starts the desktop with its output detached, no later program's pipes are held open by it.
_keeper="$_pemboro_root/build/win/tools/desktop_keeper/desktop_keeper.exe"
if [ -f "$_keeper" ]; then
  wine "$_keeper" </dev/null >/dev/null 2>&1 &
  PEMBORO_KEEPER_PID=$!
  sleep 1
fi

pemboro_stop_wine() {
  [ -n "${PEMBORO_KEEPER_PID:-}" ] && kill "$PEMBORO_KEEPER_PID" 2>/dev/null
  wineserver -k >/dev/null 2>&1 || true
  pemboro_stop_xvfb
}
