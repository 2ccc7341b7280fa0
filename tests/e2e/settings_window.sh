# A new user opens Settings from the tray menu: "Settings…" brings "Quillbern Settings" up on
# the monitor under the pointer, at its first size, with General chosen; the keyboard alone
# walks the eight sections; closing the window and opening it again keeps the section; the
# menu's "Help" brings the window forward on Help; the window will not shrink below its least
# size. Controls are found by their accessible names through AT-SPI, as a screen reader
# finds them. With QUILLBERN_E2E_SCREENSHOTS set, a screenshot of each step is kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi() { /usr/bin/python3 "$(dirname "$0")/../support/atspi.py" "$@"; }
shots=${QUILLBERN_E2E_SCREENSHOTS:-}
shoot() { [[ -z $shots ]] || import -window root "$shots/settings-$1.png"; }

sections=(General Docks Appearance "Hover previews" Permissions Support Help About)
# expect_section TITLE: its row is the one selected, and the detail area shows its title.
expect_section() {
  atspi only "$1" "list item" selected || fail "the row $1 is not the one selected"
  atspi find "$1" label >/dev/null || fail "the detail area does not show $1"
}
settings_frame() {
  xwininfo -id "$(named "Quillbern Settings")" | awk '/Absolute upper-left X/ {x=$NF}
    /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x "," y "," w "," h}'
}
# choose_in_menu ROW: opens the tray menu, moves the pointer onto the right-hand monitor
# and chooses the row there, as a screen reader presses it.
choose_in_menu() {
  open_menu
  xdotool mousemove 1900 500
  atspi menu "$1" || fail "no row $1 in the tray menu"
  wait_for 10 bash -c '[ -z "$(menus)" ]' || fail "the menu did not close"
}

printf '{"hasCompletedOnboarding": true}' >"$settings"
start_headless_desktop --tray --accessibility
start_program
wait_for 10 bash -c '[ -n "$(status_icon)" ]' || fail "no status icon"

choose_in_menu "Settings…"
wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "Settings did not open"
# 940 × 780, centred on the right-hand monitor, the one under the pointer.
[[ $(settings_frame) == "1450,150,940,780" ]] || fail "Settings opened at $(settings_frame)"
wait_for 10 bash -c '[ "$(xdotool getwindowfocus)" = "$(named "Quillbern Settings")" ]' \
  || fail "Settings did not take the keyboard"
expect_section General
shoot opened

# The keyboard alone: the section list has the keyboard, and Down walks it.
atspi wait Sections list focused || fail "the section list does not have the keyboard"
for section in "${sections[@]:1}"; do
  xdotool key Down
  expect_section "$section"
done
xdotool key Home
expect_section General
xdotool key End Up Up Up
expect_section Permissions
shoot permissions

xdotool key ctrl+w
wait_for 10 bash -c '[ -z "$(named "Quillbern Settings")" ]' || fail "Ctrl+W did not close Settings"
choose_in_menu "Settings…"
wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "Settings did not open again"
expect_section Permissions

# Help brings the window forward on Help, also from behind another window.
xterm -title Cover -geometry 160x60+1290+100 -e sh -c 'exec sleep infinity' &
desktop_pids+=($!)
# The window manager has ended its activation of the cover, not only given it the keyboard.
wait_for 10 bash -c '[ "$(xdotool getwindowfocus getwindowname)" = Cover ] &&
  [ "$(xdotool getactivewindow getwindowname)" = Cover ]' || fail "the cover window did not come up"
choose_in_menu Help
wait_for 10 bash -c '[ "$(xdotool getwindowfocus)" = "$(named "Quillbern Settings")" ]' \
  || fail "Help did not bring Settings forward"
expect_section Help
shoot help

# It will not shrink below 740 × 520.
xdotool windowsize "$(named "Quillbern Settings")" 300 200
wait_for 10 bash -c "$(declare -f settings_frame); settings_frame | grep -q ',740,520$'" \
  || fail "Settings shrank to $(settings_frame)"
shoot smallest

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
