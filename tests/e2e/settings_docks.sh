# A new user's docks in Settings → Docks: "+" adds a dock and selects it, and its panels stand
# on the first free edge; deleting it after the confirmation takes its panels away and offers
# the undo, which brings both back; dragging the second row above the first swaps the docks,
# so Ctrl+Super+1 then toggles the dock that moved up, and a restart keeps the order. Started
# with unreadable docks, the pane shows the recovery banner until it is dismissed, and after
# that not again. Controls and the rows' places are found through AT-SPI, as a screen reader
# finds them; panels are read back from X11. With QUILLBERN_E2E_SCREENSHOTS set, a screenshot
# of each step is kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi_py=$(cd "$(dirname "$0")/../support" && pwd)/atspi.py
atspi() { /usr/bin/python3 "$atspi_py" "$@"; }
shots=${QUILLBERN_E2E_SCREENSHOTS:-}
shoot() { [[ -z $shots ]] || import -window root "$shots/docks-$1.png"; }

# The middle of a dock's row, from the place AT-SPI gives it: "x y".
row_centre() {
  atspi find "$1" "push button" | awk -F'|' '{split($4, b, ","); print b[1] + int(b[3] / 2), b[2] + int(b[4] / 2)}'
}
row_top() { row_centre "$1" | cut -d' ' -f2; }
# The colour of a row's status dot on screen: faint while the row's drag goes on.
dot_colour() {
  local x y
  read -r x y < <(atspi find "$1" "push button" | awk -F'|' '{split($4, b, ","); print b[1] + 12, b[2] + int(b[4] / 2)}')
  import -window root -crop "1x1+$x+$y" txt:- | tail -n 1 | awk '{print $3}'
}
export atspi_py
export -f dot_colour atspi
# expect_above UPPER LOWER: the row of UPPER stands above the row of LOWER.
expect_above() {
  local deadline=$((SECONDS + 10))
  until (($(row_top "$1") < $(row_top "$2"))); do
    ((SECONDS < deadline)) || fail "the row $1 is not above the row $2"
    sleep 0.1
  done
}
# Dock panels at the top edge, and the others.
top_panels() { dock_panels | awk -F, '$2 < 100'; }
other_panels() { dock_panels | awk -F, '$2 >= 100'; }
export -f dock_panels top_panels other_panels
expect_top_panels() {
  wait_for 10 bash -c "[ \$(top_panels | sed '/^\$/d' | wc -l) -eq $1 ]" \
    || fail "want $1 dock panels on the top edge, have [$(echo $(dock_panels))]"
}
open_docks_pane() {
  xdotool mousemove 1900 500
  click_icon 3
  wait_for 10 bash -c '[ -n "$(menus)" ]' || fail "the menu did not open"
  atspi menu "Settings…" || fail "no row Settings… in the tray menu"
  wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "Settings did not open"
  atspi select Docks "list item" || fail "no Docks section"
}
recovery_text="Quillbern couldn't read your saved docks and started over with an empty one. Nothing was thrown away — the previous version is still stored."

printf '{"hasCompletedOnboarding": true, "dockAutoHide": false}\n' >"$settings"
start_headless_desktop --tray --accessibility
start_program
wait_for 10 bash -c '[ -n "$(status_icon)" ]' || fail "no status icon"
open_docks_pane
atspi wait Main "push button" selected || fail "the first dock is not selected"
expect_top_panels 0
main_panels=$(other_panels)
[[ $(echo "$main_panels" | wc -l) -eq 2 ]] || fail "the first dock does not stand on both monitors: [$main_panels]"

# "+" adds "Dock 1", selected; the top edge is the first free one.
atspi press "Add a dock" "push button"
atspi wait "Dock 1" "push button" selected || fail "the new dock is not selected"
atspi wait Main "push button" '!selected' || fail "the first dock stays selected"
expect_top_panels 2
[[ $(other_panels) == "$main_panels" ]] || fail "the first dock's panels moved: [$(echo $(other_panels))]"
shoot added

# Deleting asks first; its panels go and the undo banner brings both back.
atspi press "Delete the selected dock" "push button"
atspi find "Delete “Dock 1”?" label >/dev/null || fail "no confirmation"
shoot confirmation
atspi press "Delete the dock" "push button"
atspi gone "Dock 1" "push button" || fail "the deleted dock's row stays"
expect_top_panels 0
atspi find "Something was removed." label >/dev/null || fail "no undo banner"
shoot deleted
atspi press "Restore “Dock 1”" "push button"
atspi wait "Dock 1" "push button" selected || fail "the dock brought back is not selected"
expect_top_panels 2
atspi gone "Something was removed." label || fail "the undo banner stays"

# Dragging the second row above the first swaps them; the dock that moved up is the first,
# and Ctrl+Super+1 is its shortcut.
expect_above Main "Dock 1"
read -r from_x from_y < <(row_centre "Dock 1")
read -r to_x to_y < <(row_centre Main)
xdotool mousemove "$from_x" "$from_y" mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove "$from_x" $((from_y + (to_y - from_y) * step / 10))
  sleep 0.05
done
shoot dragging
xdotool mouseup 1
expect_above "Dock 1" Main
shoot dragged
xdotool key ctrl+super+1
expect_top_panels 0
[[ $(other_panels) == "$main_panels" ]] || fail "Ctrl+Super+1 changed the other dock: [$(echo $(other_panels))]"
xdotool key ctrl+super+1
expect_top_panels 2

# A row dragged out of the window and let go over the desktop: the drag ends at the release,
# and the row is drawn in full again.
lit=$(dot_colour Main)
read -r from_x from_y < <(row_centre Main)
xdotool mousemove "$from_x" "$from_y" mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove $((from_x + 150 * step)) "$from_y"
  sleep 0.05
done
wait_for 10 bash -c "[ \"\$(dot_colour Main)\" != '$lit' ]" || fail "the dragged row is not drawn faint"
xdotool mousemove 2200 600 mouseup 1
wait_for 10 bash -c "[ \"\$(dot_colour Main)\" = '$lit' ]" || fail "the drag let go over the desktop did not end"
expect_above "Dock 1" Main

kill -TERM "$program_pid"
expect_clean_exit
start_program
open_docks_pane
expect_above "Dock 1" Main
atspi --timeout 0 gone "$recovery_text" label || fail "a recovery banner without unreadable docks"
kill -TERM "$program_pid"
expect_clean_exit

# Unreadable docks: the banner shows until it is dismissed, and not after a restart.
damaged=$(printf '[{"name": "Work", "items": [' | base64 -w0)
printf '{"profiles.v1": {"$data": "%s"}, "hasCompletedOnboarding": true, "dockAutoHide": false}\n' "$damaged" \
  >"$settings"
start_program
open_docks_pane
atspi find "$recovery_text" label >/dev/null || fail "no recovery banner"
shoot recovery
atspi press Dismiss "push button"
atspi gone "$recovery_text" label || fail "the recovery banner stays after Dismiss"
kill -TERM "$program_pid"
expect_clean_exit
start_program
open_docks_pane
atspi wait Main "push button" selected || fail "the pane did not open"
atspi --timeout 0 gone "$recovery_text" label || fail "the recovery banner came back"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
