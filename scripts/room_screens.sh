# Sourced by the scripts that show the speaker's room (demo_screens.sh, tools_screens.sh): the
# room tests' Wine prefix, and a virtual laptop with a projector on its right, as the room tests
# set them up: a nested X server (Xephyr) with both screens joined by Xinerama, inside an Xvfb
# large enough for both. The servers and the Wine session are ended with the calling script, by
# their ids. Needs lw, lh, pw, ph (the two screens' sizes) and a first display number to try.
export WINEPREFIX=$PWD/build/win/wineprefix-room WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
[ -f "$WINEPREFIX/.pemboro-room-ready" ] || { echo "run the room tests once first" >&2; exit 1; }
unset WINESERVER

room_pids=()
room_finish() {
  ${room_before_finish:-true}
  wineserver -k >/dev/null 2>&1 || true
  for p in "${room_pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
}
trap room_finish EXIT
room_free_display() { local n=$1; while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done; echo "$n"; }
room_wait_display() { for _ in $(seq 1 100); do DISPLAY=":$1" xwininfo -root >/dev/null 2>&1 && return 0; sleep 0.05; done; return 1; }

# Starts both servers from display $1 on and points DISPLAY at the nested one.
room_start_screens() {
  local outer inner
  outer=$(room_free_display "$1")
  Xvfb ":$outer" -screen 0 $((lw + pw))x$((lh > ph ? lh : ph))x24 -nolisten tcp >/dev/null 2>&1 &
  room_pids+=($!)
  room_wait_display "$outer"
  inner=$(room_free_display $((outer + 1)))
  DISPLAY=":$outer" Xephyr ":$inner" -origin 0,0 -screen "${lw}x${lh}" -origin "$lw,0" -screen "${pw}x${ph}" \
    +xinerama -nolisten tcp >/dev/null 2>&1 &
  room_pids+=($!)
  room_wait_display "$inner"
  export DISPLAY=":$inner"
}

# A program of the session's, ended with it.
room_started() { room_pids+=("$1"); }
