# "Quit Quillbern" in the status icon's menu ends the program cleanly.
source "$(dirname "$0")/../support/e2e-session.sh"

# Our visible windows other than dock panels: the status icon and its menu.
non_dock_windows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || echo "$id"
  done
}

start_headless_desktop --tray
start_program
wait_for 10 bash -c "$(declare -f non_dock_windows); program_pid=$program_pid; non_dock_windows | grep -q ." \
  || fail "no status icon"

icon=$(non_dock_windows | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$icon")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3

# The menu is a second visible window of ours; its only item is the first row.
wait_for 10 bash -c "$(declare -f non_dock_windows); program_pid=$program_pid; [ \$(non_dock_windows | wc -l) -ge 2 ]" \
  || fail "menu did not open"
menu=$(non_dock_windows | grep -v "^$icon$" | tail -n 1)
eval "$(xdotool getwindowgeometry --shell "$menu")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 12)) click 1

expect_clean_exit
echo "PASS"
