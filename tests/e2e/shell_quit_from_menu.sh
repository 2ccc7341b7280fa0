# "Quit Quillbern" in the status icon's menu ends the program cleanly.
source "$(dirname "$0")/../support/e2e-session.sh"

start_headless_desktop --tray
start_program
wait_for 10 sh -c "xdotool search --onlyvisible --pid $program_pid | grep -q ." || fail "no status icon"

icon=$(xdotool search --onlyvisible --pid "$program_pid" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$icon")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3

# The menu is a second visible window of ours; its only item is the first row.
wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --pid $program_pid | wc -l) -ge 2 ]" || fail "menu did not open"
menu=$(xdotool search --onlyvisible --pid "$program_pid" | grep -v "^$icon$" | tail -n 1)
eval "$(xdotool getwindowgeometry --shell "$menu")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 12)) click 1

expect_clean_exit
echo "PASS"
