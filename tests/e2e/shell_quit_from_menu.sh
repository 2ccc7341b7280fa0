# A new user and the tray: the walkthrough greets them and, once closed, is not shown again;
# a left click on the status icon opens Settings; in the menu of a right click, the dock's
# row holds the dock out and lets it go again; "Quit Quillbern" ends the program cleanly.
source "$(dirname "$0")/../support/e2e-session.sh"

# The first row that can be chosen is Docks; the keyboard opens its submenu, whose first
# row is the new user's dock.
choose_first_dock() {
  open_menu
  local main
  main=$(menus)
  xdotool key Down Right
  wait_for 10 bash -c '[ $(menus | wc -l) -eq 2 ]' || fail "the submenu did not open"
  click_menu_row "$(menus | grep -v "^$main$")" 12
}

start_headless_desktop --tray
xdotool mousemove 640 500
start_program
wait_for 10 bash -c '[ -n "$(status_icon)" ]' || fail "no status icon"

wait_for 10 bash -c '[ -n "$(named Welcome)" ]' || fail "a new user is not welcomed"
xdotool windowactivate --sync "$(named Welcome)" key ctrl+w
wait_for 10 bash -c '[ -z "$(named Welcome)" ]' || fail "Ctrl+W did not close the walkthrough"
wait_for 10 grep -q '"hasCompletedOnboarding": true' "$settings" || fail "closing the walkthrough was not remembered"

click_icon 1
wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "a left click did not open Settings"
# In front of everything, with the keyboard.
wait_for 10 bash -c '[ "$(xdotool getwindowfocus)" = "$(named "Quillbern Settings")" ]' \
  || fail "Settings did not come to the front"
grep -q "status item click: left button → settings" "$work/log" || fail "the click was not logged"

# The new user's dock hides itself away from the pointer; its row holds it out, on both
# monitors, and lets it go again.
wait_for 10 bash -c "$(declare -f dock_panels); [ -z \"\$(dock_panels)\" ]" || fail "the dock does not hide itself"
choose_first_dock
wait_for 10 bash -c "$(declare -f dock_panels); [ \$(dock_panels | sed '/^\$/d' | wc -l) -eq 2 ]" \
  || fail "the dock's row did not hold it out: [$(echo $(dock_panels))]"
choose_first_dock
wait_for 10 bash -c "$(declare -f dock_panels); [ -z \"\$(dock_panels)\" ]" \
  || fail "the dock's row did not let it go: [$(echo $(dock_panels))]"

# The last row.
open_menu
click_menu_row "$(menus)" -12
expect_clean_exit
echo "PASS"
