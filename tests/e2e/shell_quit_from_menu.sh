# "Quit Quillbern" in the status icon's menu ends the program cleanly.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/headless-desktop.sh"

work=$(mktemp -d)
program_pid=
cleanup() {
  [[ -n "$program_pid" ]] && kill -9 "$program_pid" 2>/dev/null
  stop_headless_desktop
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; echo "--- program log:" >&2; cat "$work/log" >&2 || true; exit 1; }

export XDG_CONFIG_HOME="$work/config"
start_headless_desktop --tray
"$program" >"$work/log" 2>&1 &
program_pid=$!
wait_for 20 grep -q "^Quillbern: started$" "$work/log" || fail "no start line"
wait_for 10 sh -c "xdotool search --onlyvisible --pid $program_pid | grep -q ." || fail "no status icon"

icon=$(xdotool search --onlyvisible --pid "$program_pid" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$icon")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3

# The menu is a second visible window of ours; its only item is the first row.
wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --pid $program_pid | wc -l) -ge 2 ]" || fail "menu did not open"
menu=$(xdotool search --onlyvisible --pid "$program_pid" | grep -v "^$icon$" | tail -n 1)
eval "$(xdotool getwindowgeometry --shell "$menu")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 12)) click 1

wait_for 10 sh -c "! kill -0 $program_pid" || fail "still running after Quit Quillbern"
status=0
wait "$program_pid" || status=$?
program_pid=
[[ $status -eq 0 ]] || fail "exit status $status"
grep -q "^Quillbern: stopped$" "$work/log" || fail "no clean shutdown line"
echo "PASS"
