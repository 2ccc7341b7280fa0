# The program starts on a desktop with a tray, shows its status icon, keeps an
# unreadable settings file aside instead of losing it, and quits cleanly on SIGTERM.
source "$(dirname "$0")/../support/e2e-session.sh"

printf '{"profiles.v1": tru' > "$settings"

start_headless_desktop --tray
start_program

aside=$(ls "$(dirname "$settings")" | grep '^defaults.json.unreadable-' || true)
[[ -n "$aside" ]] || fail "the unreadable settings file was not moved aside"
[[ "$(cat "$(dirname "$settings")/$aside")" == '{"profiles.v1": tru' ]] || fail "the kept file changed"
grep -q "cannot be read (not JSON at line 1 column 20); kept it as" "$work/log" || fail "the move aside was not logged"

# The tray embeds the status icon as a window of our process.
wait_for 10 sh -c "xdotool search --pid $program_pid | grep -q ." || fail "no status icon window"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
