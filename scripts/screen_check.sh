#!/usr/bin/env bash
# Shows that `./run.sh -big` gives the presenter the whole screen whatever its size: for each
# size given (default 2560x1440 and 3840x2160) it starts a virtual X screen of that size, runs
# `./run.sh -big` on it, goes to the first slide, takes a screenshot, and checks that the frame
# sits just off every edge of the screen and that the slide, not the desktop, shows from edge
# to edge. The presenter it started is ended by its process id, so nothing is written to the
# profile.
# Usage: scripts/screen_check.sh [WxH ...]   (screenshots land in build/screen-check/)
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(2560x1440 3840x2160)
out=$PWD/build/screen-check
mkdir -p "$out"
source scripts/screen_tools.sh
first_slide=$(grep -o -m1 'L"[^"]*\.png"' src/deck/deck_table.cpp | sed 's/^L"//; s/"$//')

xvfb= runner=
cleanup() {
  if [ -n "$runner" ]; then
    local pid
    pid=$(presenter_pid)
    kill ${pid:-$runner} 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
  fi
  [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; }
  runner= xvfb=
}
trap cleanup EXIT

# The process `wine dist/Pemboro.exe` that run.sh started: a child of the runner.
presenter_pid() {
  local pid
  for pid in $(pgrep -P "$runner" 2>/dev/null); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q 'Pemboro\.exe' && { echo "$pid"; return; }
  done
}

status=0
for size in "${sizes[@]}"; do
  w=${size%x*} h=${size#*x}
  for n in $(seq 141 170); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=":$n"
  # The socket is there before the server takes connections: wait for an answer.
  for _ in $(seq 1 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done

  ./run.sh -big >"$out/run-$size.log" 2>&1 &
  runner=$!
  # Full-screen from the first paint; the building and start-up of run.sh come first.
  for _ in $(seq 1 10); do
    pemboro_wait_full_screen && break
    kill -0 "$runner" 2>/dev/null || break
  done
  xdotool key ctrl+Prior
  sleep 1
  pemboro_wait_settled || true
  shot="$out/presenter-$size.png"
  import -window root "$shot"
  geometry=$(pemboro_frame_geometry)

  # The frame reaches the same distance past the left, right and bottom edges (the frame
  # width plus a margin) and further past the top (caption and menu bar as well).
  verdict=ok
  if [[ "$geometry" =~ ^([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+)$ ]]; then
    fw=${BASH_REMATCH[1]} fh=${BASH_REMATCH[2]} fx=${BASH_REMATCH[3]} fy=${BASH_REMATCH[4]}
    past=$((-fx))
    if [ "$past" -le 0 ] || [ "$fy" -ge "$fx" ] || [ $((fx + fw - w)) -ne "$past" ] || [ $((fy + fh - h)) -ne "$past" ]; then
      verdict="frame $geometry does not cover $size"
    fi
  else
    verdict="no presenter window (see $out/run-$size.log)"
  fi
  # The slide, stretched over the screen, against the screenshot: apart from markers, logos
  # and text edges every pixel must match; uncovered desktop would be a large share.
  convert "dist/$first_slide" -resize "${size}!" "$out/slide-$size.png"
  different=$(compare -metric AE -fuzz 12% "$shot" "$out/slide-$size.png" null: 2>&1 || true)
  different=${different%% *}
  share=$(awk -v d="$different" -v a=$((w * h)) 'BEGIN { printf "%.1f", 100 * d / a }')
  if [ "$verdict" = ok ] && ! awk -v s="$share" 'BEGIN { exit !(s < 20) }'; then
    verdict="$share% of the screen differs from the slide"
  fi
  printf '%-10s frame %-22s %5s%% off the slide  %s  %s\n' "$size" "$geometry" "$share" "$shot" "$verdict"
  [ "$verdict" = ok ] || status=1

  pid=$(presenter_pid)
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  wait "$runner" 2>/dev/null || true
  runner=
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  xvfb=
done
exit $status
