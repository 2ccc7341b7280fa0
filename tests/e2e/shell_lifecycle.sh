# The program starts on a desktop with a tray, shows its status icon, keeps an
# unreadable settings file aside instead of losing it, and quits cleanly on SIGTERM.
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
mkdir -p "$XDG_CONFIG_HOME/quillbern"
printf '{"profiles.v1": tru' > "$XDG_CONFIG_HOME/quillbern/defaults.json"

start_headless_desktop --tray
"$program" >"$work/log" 2>&1 &
program_pid=$!

wait_for 20 grep -q "^Quillbern: started$" "$work/log" || fail "no start line"

aside=$(ls "$XDG_CONFIG_HOME/quillbern/" | grep '^defaults.json.unreadable-' || true)
[[ -n "$aside" ]] || fail "the unreadable settings file was not moved aside"
[[ "$(cat "$XDG_CONFIG_HOME/quillbern/$aside")" == '{"profiles.v1": tru' ]] || fail "the kept file changed"
grep -q "cannot be read; kept it as" "$work/log" || fail "the move aside was not logged"

# The tray embeds the status icon as a window of our process.
wait_for 10 sh -c "xdotool search --pid $program_pid | grep -q ." || fail "no status icon window"

kill -TERM "$program_pid"
status=0
wait_for 10 sh -c "! kill -0 $program_pid" || fail "did not quit within 10 s of SIGTERM"
wait "$program_pid" || status=$?
program_pid=
[[ $status -eq 0 ]] || fail "exit status $status after SIGTERM"
grep -q "^Quillbern: stopped$" "$work/log" || fail "no clean shutdown line"
echo "PASS"
