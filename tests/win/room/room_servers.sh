#!/usr/bin/env bash
# Runs the tests of the speaker's room: the presenter on X servers with the monitors a talk
# meets. Each fixed layout is a nested X server (Xephyr) inside a virtual one (Xvfb), its screens
# joined by Xinerama, seen by Wine without a virtual desktop and with its XRandR use off, so that
# Wine takes its monitors from Xinerama. Monitors that come, go and move run on an Xorg server
# with the dummy driver, whose outputs RandR switches on and off (monitors.sh), seen by Wine
# through XRandR. The display change of a resolution runs in a Wine virtual desktop, whose size a
# program may change. The same tests run again at 144 and 192 dpi, the prefix's one DPI for every
# monitor. Everything runs in a Wine prefix of its own, with its own wineserver; the servers and
# that wineserver are started here and ended here, by their ids.
# Usage: room_servers.sh <test program> <wine prefix>  (ROOM_FILTER narrows every run)
set -u
exe=${1:-}
prefix=${2:-}
# The prefix is removed and made anew when it is not ready: never an empty, relative or root path.
case "$prefix" in
  /?*) ;;
  *) echo "room_servers.sh: the Wine prefix must be an absolute path, not '$prefix'" >&2; exit 2 ;;
esac
[ -n "$exe" ] || { echo "room_servers.sh: no test program given" >&2; exit 2; }
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
export WINEARCH=win64
unset WINESERVER
here=$(cd "$(dirname "$0")" && pwd)

xvfb_pid= xephyr_pid= xorg_pid= work=
stop_nested() {
  if [ -n "$xephyr_pid" ]; then kill "$xephyr_pid" 2>/dev/null; wait "$xephyr_pid" 2>/dev/null; xephyr_pid=; fi
}
stop_xorg() {
  if [ -n "$xorg_pid" ]; then kill "$xorg_pid" 2>/dev/null; wait "$xorg_pid" 2>/dev/null; xorg_pid=; fi
}
stop_all() {
  wineserver -k >/dev/null 2>&1
  stop_nested
  stop_xorg
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=; fi
  [ -n "$work" ] && rm -rf "$work"
}
trap stop_all EXIT
work=$(mktemp -d /tmp/pemboro-room-XXXXXX)

free_display() {  # first display number from $1 with neither a lock nor a socket
  local n=$1
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo "$n"
}
wait_for_display() {
  for _ in $(seq 1 200); do
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

# Starts the hot-plug server: Xorg with the dummy driver, a laptop's panel and a projector on its
# right as two RandR outputs. Xorg runs as root only.
start_hotplug() {
  local n
  if [ "$(id -u)" -ne 0 ]; then echo "the hot-plug layouts need Xorg, which runs here as root only"; return 1; fi
  n=$(free_display $((outer + 20)))
  cat >"$work/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 4096 2160
  EndSubSection
EndSection
CONF
  Xorg ":$n" -config "$work/xorg.conf" -noreset -nolisten tcp -sharevts -novtswitch \
    -logfile "$work/xorg.log" >/dev/null 2>&1 &
  xorg_pid=$!
  wait_for_display "$n" || { echo "could not start Xorg (see its log above)"; cat "$work/xorg.log"; return 1; }
  export DISPLAY=":$n"
  mkdir -p "$work/layout"
  sh "$here/monitors.sh" "$work/layout" right
}

# The next Wine session's settings: the prefix's DPI, XRandR (Y) or Xinerama (N), and a virtual
# desktop (on) or none (off). Each run sets all three, so a run cut short leaves nothing behind.
# There is no window manager on these servers, and Wine leaves the size of a maximised window to
# one (a maximised frame's full-screen size would never reach the screen): it manages no window.
session() {
  wineserver -k >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d "$2" /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  if [ "$3" = on ]; then
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
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.pemboro-room-ready"
fi

status=0
run() {  # gtest filter (ROOM_FILTER, when given, instead)
  echo "== ${ROOM_FILTER:-$1} on $DISPLAY at ${ROOM_DPI:-96} dpi =="
  timeout 600 wine "$exe" --gtest_filter="${ROOM_FILTER:-$1}" </dev/null || status=1
}

# A laptop at 1920x1080 with a 1280x720 projector on its right, the laptop primary.
session 96 N off
start_nested -origin 0,0 -screen 1920x1080 -origin 1920,0 -screen 1280x720 || exit 1
run '-DisplayChange.*:Hotplug.*:Dpi.*:OneMonitorSwap.*:Keyboard.*'
# The same room at 96, 144 and 192 dpi, in that order: the later runs compare with the first.
export ROOM_WORK=$work
for dpi in 96 144 192; do
  session "$dpi" N off
  ROOM_DPI=$dpi run 'Dpi.*'
done
session 96 N off
stop_nested

# One 2560x1440 panel.
start_nested -screen 2560x1440 || exit 1
run 'OneMonitor.*:OneMonitorSwap.*'
wineserver -k >/dev/null 2>&1
stop_nested

# The talk-length keys on a US, a German and a French keyboard: the server takes each layout, and
# a Wine session started after it reads it (Wine reads the layout when it starts). The server must
# not reset when its last client leaves, or it forgets the layout. Its own layout comes back after.
start_nested -noreset -screen 1920x1080 || exit 1
own_layout=$(setxkbmap -query | awk '/^layout:/ { print $2 }')
for layout in us de fr; do
  session 96 N off
  setxkbmap "$layout" || status=1
  echo "-- keyboard layout $layout --"
  ROOM_LAYOUT=$layout run 'Keyboard.*'
done
wineserver -k >/dev/null 2>&1
setxkbmap "${own_layout:-us}"
stop_nested

# Monitors plugged in, unplugged and moved, for real.
if start_hotplug; then
  session 96 Y off
  run 'Hotplug.*'
  wineserver -k >/dev/null 2>&1
  stop_xorg
else
  status=1
fi

# A display whose size changes under the show.
export DISPLAY=":$outer"
session 96 N on
run 'DisplayChange.*'
session 96 N off
exit $status
