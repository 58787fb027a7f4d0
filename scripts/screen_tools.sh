# Sourced: watching the X screen the presenter runs on (the current $DISPLAY).

# Waits until two captures of the screen in a row are equal (at most about 20 s); 1 if never.
pemboro_wait_settled() {
  local previous= current
  for _ in $(seq 1 40); do
    current=$(xwd -root -silent | md5sum)
    [ "$current" = "$previous" ] && return 0
    previous=$current
    sleep 0.5
  done
  return 1
}

# The presenter's frame in the X window tree as "WxH+X+Y", or nothing while there is none.
pemboro_frame_geometry() {
  xwininfo -root -tree 2>/dev/null |
    awk '/\("pemboro.exe" "pemboro.exe"\)/ && !/"Default IME"/ { print $(NF-1); exit }'
}

# Waits (at most about 30 s) until the frame is full-screen: its left edge off the screen.
pemboro_wait_full_screen() {
  for _ in $(seq 1 300); do
    [[ "$(pemboro_frame_geometry)" == *+-* ]] && return 0
    sleep 0.1
  done
  return 1
}
