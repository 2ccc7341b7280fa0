# Automation URLs as a person sends them, on a session bus as on a desktop: with Quillbern
# running, a second start given quillbern://profiles/2/hide hands the URL over and ends at
# once, and the second dock's panels go; quillbern://focus/bogus leaves its failure in the
# log, a host that holds escaped user information too, with no word of it; the dock comes
# back by its name, typed in any case.
source "$(dirname "$0")/../support/e2e-session.sh"

dock() {
  printf '{"id":"%s","name":"%s","items":[],"edge":"%s","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}' "$@"
}
docks="[$(dock 11111111-0000-4000-8000-000000000001 Main bottom),$(dock 11111111-0000-4000-8000-000000000002 Work top)]"
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false}\n' "$(printf '%s' "$docks" | base64 -w0)" >"$settings"

# The edges of the shown dock panels, one word each, in order: "bottom bottom top top".
panel_edges() { dock_panels | awk -F, 'NF == 4 { print ($2 < 540 ? "top" : "bottom") }' | sort | xargs; }
expect_panel_edges() {
  local deadline=$((SECONDS + 10))
  until [[ "$(panel_edges)" == "$1" ]]; do
    ((SECONDS < deadline)) || fail "dock panels: want [$1], have [$(panel_edges)]"
    sleep 0.05
  done
}

# send URL: a second start with the URL, which must hand it over and end within 5 s.
send() {
  local pid status=0
  "$program" "$1" >"$work/second.log" 2>&1 &
  pid=$!
  wait_for 5 sh -c "! kill -0 $pid" || { kill -9 "$pid"; fail "the start given $1 still runs after 5 s"; }
  wait "$pid" || status=$?
  [[ $status -eq 0 ]] || { cat "$work/second.log" >&2; fail "the start given $1 ended with status $status"; }
  grep -q "already running; this start was handed to the running Quillbern" "$work/second.log" \
    || { cat "$work/second.log" >&2; fail "the start given $1 did not hand it over"; }
}

start_headless_desktop
dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/bus.address" 2>/dev/null &
desktop_pids+=($!)
wait_for 10 grep -q . "$work/bus.address" || fail "dbus-daemon did not start"
export DBUS_SESSION_BUS_ADDRESS
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus.address")

start_program
expect_panel_edges "bottom bottom top top"

send 'quillbern://profiles/2/hide'
expect_panel_edges "bottom bottom"

send 'quillbern://focus/bogus?token=secret'
wait_for 10 grep -qxF "Quillbern: unrecognised automation URL quillbern://focus/bogus?…; the README lists the URLs Quillbern understands" "$work/log" \
  || fail "the unrecognised URL was not logged"
grep -q secret "$work/log" && fail "the URL's query reached the log"
send 'quillbern://me%3AHunter2%40bogus/x'
wait_for 10 grep -qxF "Quillbern: unrecognised automation URL quillbern://…/x; the README lists the URLs Quillbern understands" "$work/log" \
  || fail "the URL with an escaped password was not logged"
grep -qi hunter2 "$work/log" && fail "the URL's user information reached the log"

send 'QUILLBERN://Profile/work/SHOW'
expect_panel_edges "bottom bottom top top"
grep -q "named no dock" "$work/log" && fail "a dock was not found"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
