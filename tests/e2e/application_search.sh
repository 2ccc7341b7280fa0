# A new user's application search: Ctrl+Super+S, "xte", and XTerm is the first row; Return
# starts a terminal and closes the palette; again, Return brings that terminal forward
# instead of starting a second; Ctrl+1 pins it to the first dock, whose tile appears. A
# desktop entry installed meanwhile is found at the next opening. QUILLBERN_E2E_SCREENSHOTS, when set,
# names a folder for screenshots of the palette.
source "$(dirname "$0")/../support/e2e-session.sh"

docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","items":[],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false, "hasCompletedOnboarding": true}\n' "$(printf '%s' "$docks" | base64 -w0)" > "$settings"
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/applications"

terminals() { xdotool search --onlyvisible --class '^XTerm$' 2>/dev/null || true; }
active_window() { xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*$'; }
hex() { printf '0x%x' "$1"; }
# The program's shown palette window (not its docks).
palette() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || echo "$id"
  done
}
palette_height() { xwininfo -id "$(palette | head -1)" | awk '/Height:/ {print $NF}'; }
palette_shown() { [[ -n $(palette) ]]; }
no_palette() { [[ -z $(palette) ]]; }
palette_has_keyboard() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$(palette | head -1)" ]]; }
taller_than() { [[ $(palette_height) -gt $1 ]]; }
# Opens the palette, waits for it to have the keyboard and types the query.
search_for() {
  xdotool key ctrl+super+s
  wait_for 10 palette_shown || fail "no palette for \"$1\""
  wait_for 10 palette_has_keyboard || fail "the palette has no keyboard (focus $(xdotool getwindowfocus), palette $(palette | tr "\n" " "), all $(xdotool search --pid "$program_pid" | tr "\n" " "))"
  xdotool type --delay 40 "$1"
}
expect_no_palette() { wait_for 10 no_palette || fail "the palette is still shown"; }
xterm_pinned() {
  python3 -c 'import base64, json, sys; print(base64.b64decode(json.load(open(sys.argv[1]))["profiles.v1"]["$data"]).decode())' \
    "$settings" | grep -q '"debian-xterm"'
}
shoot() { [[ -n ${QUILLBERN_E2E_SCREENSHOTS:-} ]] && import -window root "$QUILLBERN_E2E_SCREENSHOTS/$1.png"; return 0; }

start_headless_desktop
xdotool mousemove 640 500
start_program
docks_shown() { [[ -n $(dock_panels) ]]; }
wait_for 10 docks_shown || fail "no dock"
# What the docks show, as a checksum of their pictures.
dock_pictures() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK && import -window "$id" rgba:- 2>/dev/null
  done | md5sum
}
empty_dock=$(dock_pictures)
tile_shown() { [[ $(dock_pictures) != "$empty_dock" ]]; }

# "xte": XTerm first, with UXTerm below it; the rows make the palette taller than its hint.
search_for xte
wait_for 5 taller_than 150 || fail "no result rows (palette height $(palette_height))"
shoot search-xte
xdotool key Return
expect_no_palette
wait_for 10 xdotool search --onlyvisible --class '^XTerm$' || fail "Return started no terminal"
first=$(terminals | head -1)
[[ $(terminals | wc -l) -eq 1 ]] || fail "more than one terminal: $(terminals | tr '\n' ' ')"
# A launch brings its application forward once more half a second after it started; that
# would take the keyboard from a palette opened meanwhile.
terminal_active() { [[ $(active_window) == "$(hex "$first")" ]]; }
wait_for 10 terminal_active || fail "the started terminal did not come forward"
sleep 1

# Something else in front; the search brings the running terminal back.
"$test_client" --title Other --geometry 400x300+300+300 >/dev/null &
desktop_pids+=($!)
wait_for 10 xdotool search --onlyvisible --name '^Other$' || fail "no other window"
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Other$' | head -1)"
search_for xte
wait_for 5 taller_than 150 || fail "no result rows (palette height $(palette_height))"
xdotool key Return
expect_no_palette
wait_for 5 terminal_active || fail "the terminal did not come forward (active $(active_window))"
one_terminal() { [[ $(terminals | wc -l) -eq 1 ]]; }
holds_for 1 one_terminal || fail "a second terminal started: $(terminals | tr '\n' ' ')"

# Ctrl+1 pins it to the first dock: its tile appears, and the palette stays.
search_for xte
wait_for 5 taller_than 150 || fail "no result rows (palette height $(palette_height))"
xdotool key ctrl+1
wait_for 10 xterm_pinned || fail "xterm not pinned"
[[ -n $(palette) ]] || fail "pinning closed the palette"
wait_for 10 tile_shown || fail "no tile appeared in the dock"
shoot pinned
xdotool key Escape Escape
expect_no_palette

# An entry installed meanwhile is there at the next opening: a third row for "xterm".
search_for xterm
wait_for 5 taller_than 150 || fail "no result rows (palette height $(palette_height))"
before=$(palette_height)
xdotool key Escape Escape
expect_no_palette
printf '[Desktop Entry]\nType=Application\nName=XTerm Walker\nExec=/bin/true\n' >"$XDG_DATA_HOME/applications/walker.desktop"
search_for xterm
wait_for 10 taller_than "$before" || fail "the new entry did not show (height $(palette_height), before $before)"
shoot new-entry
xdotool key Escape Escape
expect_no_palette

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
