# A new user in Settings' Support, Help and About: "Copy" puts exactly the five lines of
# diagnostics on the clipboard, two displays among them, and reads "Copied", then "Copy"
# again; Help in the narrowest window wraps its texts, and "Show the walkthrough again" opens
# the walkthrough; About shows the built version and a "Check now" that cannot be pressed.
# Controls are found by their accessible names through AT-SPI. With QUILLBERN_E2E_SCREENSHOTS
# set, a screenshot of each pane is kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi() { /usr/bin/python3 "$(dirname "$0")/../support/atspi.py" "$@"; }
shots=${QUILLBERN_E2E_SCREENSHOTS:-}
shoot() { [[ -z $shots ]] || import -window root "$shots/support-help-about-$1.png"; }

printf '{"hasCompletedOnboarding": true}' >"$settings"
start_headless_desktop --accessibility
start_program
# Without a tray a second start opens Settings.
"$program" >>"$work/log" 2>&1
wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "Settings did not open"

atspi select Support "list item" || fail "no Support section"
atspi press Copy "push button" || fail "no Copy button"
atspi find Copied "push button" >/dev/null || fail "the button does not read Copied"
shoot support
copied=$(xclip -o -selection clipboard) || fail "nothing on the clipboard"
mapfile -t lines <<<"$copied"
((${#lines[@]} == 5)) || fail "the clipboard holds ${#lines[@]} lines: $copied"
[[ ${lines[0]} =~ ^Quillbern\ [0-9]+\.[0-9]+\.[0-9]+\ \(.*\)$ ]] || fail "first line: ${lines[0]}"
[[ ${lines[1]} =~ ^Linux\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "second line: ${lines[1]}"
[[ ${lines[2]} == "Displays: 2" ]] || fail "third line: ${lines[2]}"
[[ ${lines[3]} == "Window access: granted" ]] || fail "fourth line: ${lines[3]}"
[[ ${lines[4]} == "Window pictures: granted" ]] || fail "fifth line: ${lines[4]}"
[[ $(xclip -o -selection clipboard | tail -c 1 | od -An -c | tr -d ' ') != '\n' ]] \
  || fail "a line feed follows the last line"
atspi --timeout 5 find Copy "push button" >/dev/null || fail "the button does not read Copy again"

# The narrowest window: Help's texts wrap.
xdotool windowsize "$(named "Quillbern Settings")" 740 520
atspi select Help "list item" || fail "no Help section"
atspi find "Docks" label >/dev/null || fail "no Docks card"
shoot help
atspi press "Show the walkthrough again" "push button" || fail "no walkthrough button"
wait_for 10 bash -c '[ -n "$(named Welcome)" ]' || fail "the walkthrough did not open"
wait_for 10 bash -c "$(declare -f named); program_pid=$program_pid; [ \"\$(xdotool getwindowfocus)\" = \"\$(named Welcome)\" ]" \
  || fail "the walkthrough did not take the keyboard"
xdotool key Escape
wait_for 10 bash -c '[ -z "$(named Welcome)" ]' || fail "the walkthrough did not close"

atspi select About "list item" || fail "no About section"
atspi find "Check for updates" "push button" >/dev/null || fail "no Check now button"
atspi --timeout 0 wait "Check for updates" "push button" '!enabled' || fail "Check now can be pressed"
atspi find "Quillbern" label >/dev/null || fail "no name"
shoot about

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
