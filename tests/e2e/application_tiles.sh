# A new user's pinned terminal: a click on its tile starts one and shows the launch beacon
# until it arrives, a click brings its window back to the front, its menu lists its
# windows and brings the chosen one forward, and Quit closes them.
source "$(dirname "$0")/../support/e2e-session.sh"

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","items":[$(app debian-xterm XTerm)],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false}\n' "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# One tile of 62: the dock is 180 by 104, centred on each monitor's bottom edge; the
# tile's icon stands at its middle, a little below the centre.
left_dock="550,962,180,104"
right_dock="1830,962,180,104"
tile_x=640
tile_y=1022

active_window() { xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*$'; }
terminals() { xdotool search --onlyvisible --class '^XTerm$' 2>/dev/null || true; }
hex() { printf '0x%x' "$1"; }
# A test for sh -c: the window is the active one.
is_active() { echo "[ \"\$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*$')\" = $(hex "$1") ]"; }

start_headless_desktop
start_program
expect_dock_panels "$left_dock" "$right_dock"
[[ -z $(terminals) ]] || fail "a terminal runs before the test starts one"

# Nothing runs: the click starts a terminal, and the beacon shows while it comes.
xdotool mousemove "$tile_x" "$tile_y" click 1
beacon_shows() { [[ $(dock_panels | wc -l) -ge 3 ]]; }
wait_for 5 beacon_shows || fail "no launch beacon: $(dock_panels | tr '\n' ' ')"
wait_for 10 sh -c "xdotool search --onlyvisible --class '^XTerm$'" || fail "no terminal started"
first=$(terminals | head -1)
# The beacon goes once the terminal has arrived.
expect_dock_panels "$left_dock" "$right_dock"

# Another window in front; a click on the tile brings the terminal back.
"$test_client" --title Other --geometry 400x300+300+300 >/dev/null &
desktop_pids+=($!)
wait_for 10 xdotool search --onlyvisible --name '^Other$' || fail "no other window"
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Other$' | head -1)"
[[ $(active_window) != "$(hex "$first")" ]] || fail "the terminal is still active"
xdotool mousemove "$tile_x" "$tile_y" click 1
wait_for 5 sh -c "$(is_active "$first")" || fail "the click did not bring the terminal forward (active $(active_window))"

# A second terminal: the menu lists both windows, and the one chosen comes forward.
xterm -title Second -geometry 60x10+700+100 &
desktop_pids+=($!)
wait_for 10 xdotool search --onlyvisible --name '^Second$' || fail "no second terminal"
second=$(xdotool search --onlyvisible --name '^Second$' | head -1)
# The rows list an application's windows by their numbers: the earlier one first.
earlier=$(printf '%s\n' "$first" "$second" | sort -n | head -1)
later=$(printf '%s\n' "$first" "$second" | sort -n | tail -1)
xdotool windowactivate --sync "$earlier"

# A pop-up menu of the program shows: a window of its own that no window manager manages.
menu_shows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && return 0
  done
  return 1
}
menu_gone() { ! menu_shows; }
# Right-clicks the tile until its menu shows; a click that comes while the last menu
# still closes may go to that menu.
open_menu() {
  local attempt
  for attempt in 1 2 3 4 5; do
    xdotool mousemove "$tile_x" "$tile_y" click 3
    wait_for 1 menu_shows && return 0
  done
  return 1
}
# choose_in_menu CONDITION KEYS...: opens the tile's menu and types the keys until the
# condition holds. A menu takes the keyboard a moment after it shows, so keys may be lost.
choose_in_menu() {
  local condition=$1 attempt
  shift
  for attempt in 1 2 3 4 5; do
    open_menu || fail "no menu"
    xdotool key "$@" Return
    wait_for 2 sh -c "$condition" && return 0
    # A menu that missed the keys is closed before the next try.
    menu_shows && xdotool key Escape
    wait_for 5 menu_gone || fail "the menu stays open"
  done
  return 1
}

choose_in_menu "$(is_active "$later")" Down Down || fail "the chosen window did not come forward (active $(active_window))"
# After the rows, Hide, then Quit.
choose_in_menu "[ -z \"\$(xdotool search --onlyvisible --class '^XTerm$')\" ]" Down Down Down Down \
  || fail "the terminals are still open"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
