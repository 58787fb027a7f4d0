#!/usr/bin/env bash
# Runs the tests of the speaker's room: the presenter on X servers with the monitors a talk
# meets. Each layout is a nested X server (Xephyr) inside a virtual one (Xvfb), its screens
# joined by Xinerama, seen by Wine without a virtual desktop and with its XRandR use off, so that
# Wine takes its monitors from Xinerama; the display change runs in a Wine virtual desktop, whose
# size a program may change. Everything runs in a Wine prefix of its own, with its own
# wineserver; the servers and that wineserver are started here and ended here, by their ids.
# Usage: room_servers.sh <test program> <wine prefix>  (ROOM_FILTER narrows the two-monitor run)
set -u
exe=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
export WINEARCH=win64
unset WINESERVER

xvfb_pid= xephyr_pid=
stop_nested() {
  if [ -n "$xephyr_pid" ]; then kill "$xephyr_pid" 2>/dev/null; wait "$xephyr_pid" 2>/dev/null; xephyr_pid=; fi
}
stop_all() {
  wineserver -k >/dev/null 2>&1
  stop_nested
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=; fi
}
trap stop_all EXIT

free_display() {  # first display number from $1 with neither a lock nor a socket
  local n=$1
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo "$n"
}
wait_for_display() {
  for _ in $(seq 1 100); do
    DISPLAY=":$1" xwininfo -root >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  return 1
}

outer=$(free_display 140)
Xvfb ":$outer" -screen 0 3840x1600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
wait_for_display "$outer" || { echo "could not start Xvfb"; exit 1; }

# Starts a nested server with the screens given as -origin/-screen pairs and points DISPLAY at it.
start_nested() {
  local inner
  inner=$(free_display $((outer + 1)))
  DISPLAY=":$outer" Xephyr ":$inner" "$@" +xinerama -nolisten tcp >/dev/null 2>&1 &
  xephyr_pid=$!
  wait_for_display "$inner" || { echo "could not start Xephyr"; return 1; }
  export DISPLAY=":$inner"
}

desktop() {  # on | off: the Wine virtual desktop for the next Wine session
  wineserver -k >/dev/null 2>&1
  if [ "$1" = on ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Room /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Room /d 1920x1080 /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
  fi
  wineserver -w
}

export DISPLAY=":$outer"
if [ ! -f "$WINEPREFIX/.pemboro-room-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.pemboro-room-ready"
fi

status=0
run() {  # gtest filter
  echo "== $1 on $DISPLAY =="
  timeout 400 wine "$exe" --gtest_filter="$1" </dev/null || status=1
}

# A laptop at 1920x1080 with a 1280x720 projector on its right, the laptop primary.
desktop off
start_nested -origin 0,0 -screen 1920x1080 -origin 1920,0 -screen 1280x720 || exit 1
run "${ROOM_FILTER:--DisplayChange.*}"
wineserver -k >/dev/null 2>&1
stop_nested

# One 2560x1440 panel.
start_nested -screen 2560x1440 || exit 1
run 'OneMonitor.*'
wineserver -k >/dev/null 2>&1
stop_nested

# A display whose size changes under the show.
export DISPLAY=":$outer"
desktop on
run 'DisplayChange.*'
desktop off
exit $status
