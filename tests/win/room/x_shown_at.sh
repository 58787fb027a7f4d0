#!/bin/sh
# Writes into $1/name the name of the X window that the screen shows at ($2, $3): the first
# viewable top-level window, from the top of the X stack down (xwininfo lists the top one first),
# whose rectangle holds the point. This is what the audience sees; Windows' own z-order, which
# Wine keeps beside the X one, may say otherwise. Writes the status into $1/status last.
work=$1 px=$2 py=$3
: > "$work/name"
for id in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
  info=$(xwininfo -id "$id" 2>/dev/null) || continue
  echo "$info" | grep -q "Map State: IsViewable" || continue
  x=$(echo "$info" | sed -n 's/^ *Absolute upper-left X: *//p')
  y=$(echo "$info" | sed -n 's/^ *Absolute upper-left Y: *//p')
  w=$(echo "$info" | sed -n 's/^ *Width: *//p')
  h=$(echo "$info" | sed -n 's/^ *Height: *//p')
  if [ "$px" -ge "$x" ] && [ "$px" -lt $((x + w)) ] && [ "$py" -ge "$y" ] && [ "$py" -lt $((y + h)) ]; then
    echo "$info" | sed -n 's/^xwininfo: Window id: 0x[0-9a-f]* "\(.*\)"$/\1/p' > "$work/name"
    break
  fi
done
echo 0 > "$work/status"
