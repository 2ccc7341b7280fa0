# The program's dock panels as the X server shows them, for the end-to-end tests and the
# benchmarks on the headless desktop. The caller keeps the program's process in $program_pid.

# The shown dock panels of the program as "x,y,width,height" in X coordinates, sorted.
dock_panels() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || continue
    xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
      /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x "," y "," w "," h}'
  done | sort
}

# docks_made COUNT: whether the program has made COUNT dock panels or more, shown or not.
docks_made() {
  local id made=0
  for id in $(xdotool search --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DOCK && made=$((made + 1))
  done
  ((made >= $1))
}
