# A new user's global shortcuts: Ctrl+Super+1 holds the first dock out and lets it go
# again, holding Ctrl+Super+P shows the hidden docks until it is let go, and a chord that
# another application already holds (Ctrl+Super+A) is logged as taken while the others work.
source "$(dirname "$0")/../support/e2e-session.sh"

# expect_panel_count N: waits, at most 10 s, until N dock panels show.
expect_panel_count() {
  local deadline=$((SECONDS + 10))
  until [[ $(dock_panels | sed '/^$/d' | wc -l) -eq $1 ]]; do
    ((SECONDS < deadline)) || fail "want $1 dock panels, have [$(echo $(dock_panels))]"
    sleep 0.05
  done
}

# expect_panel_count_stays N SECONDS: N dock panels show all that time.
expect_panel_count_stays() {
  local deadline=$((SECONDS + $2))
  while ((SECONDS < deadline)); do
    [[ $(dock_panels | sed '/^$/d' | wc -l) -eq $1 ]] || fail "want $1 dock panels to stay, have [$(echo $(dock_panels))]"
    sleep 0.1
  done
}

start_headless_desktop
# X keycode 38 is A; 68 is Control (4) with Super (Mod4, 64).
"$test_client" --grab-key 38,68 --geometry 200x100+300+300 >"$work/client" &
desktop_pids+=($!)
wait_for 10 grep -q '^grabbed$' "$work/client" || fail "the other application could not grab Ctrl+Super+A"

xdotool mousemove 640 500
# Past the first start: no walkthrough window takes the keyboard.
printf '{"hasCompletedOnboarding": true}\n' > "$settings"
start_program
grep -qF "the global shortcut Ctrl+Super+A (All open apps) does not work: another application has taken it" "$work/log" \
  || fail "the taken chord was not logged"
expect_panel_count 0  # the new user's dock, on both monitors, hides once the pointer is away

xdotool key ctrl+super+1
expect_panel_count 2
expect_panel_count_stays 2 2  # held out: the pointer's absence does not hide it
xdotool key ctrl+super+1
expect_panel_count 0

xdotool keydown ctrl+super+p
expect_panel_count 2
expect_panel_count_stays 2 2
xdotool keyup p keyup ctrl+super
expect_panel_count 0

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
