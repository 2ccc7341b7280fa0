# A new user who switched the landing spotlight on: an xterm activated from outside is
# ringed for a moment on its own monitor, the rest of that monitor dimmed, and then the
# veil is gone. Without a compositing manager only the ring shows and the log says why,
# once. With the spotlight off nothing appears.
source "$(dirname "$0")/../support/e2e-session.sh"
source "$(dirname "$0")/../support/veil-checks.sh"

# activate WINDOW: brings the window forward as another program would.
activate() {
  xdotool windowactivate "$1"
}
# start_new_users_program: starts the program and waits until the new user's walkthrough,
# which it brings forward as it starts, is the active window: an activation of the test's
# that came before would be taken back, late, on a loaded machine.
start_new_users_program() {
  start_program
  wait_for 10 sh -c '[ "$(xdotool getactivewindow getwindowname)" = Welcome ]' \
    || fail "the walkthrough did not come forward (active \"$(xdotool getactivewindow getwindowname 2>/dev/null || true)\")"
}

left_monitor="0,0,1280,1080"
right_monitor="1280,0,1280,1080"

start_headless_desktop
xcompmgr >/dev/null 2>&1 &
compositor=$!
desktop_pids+=("$compositor")
wait_for 10 xdotool search --name '^xcompmgr$' || fail "xcompmgr did not start"
xterm -title Left -geometry 80x24+100+100 &
desktop_pids+=($!)
xterm -title Right -geometry 80x24+1500+300 &
desktop_pids+=($!)
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^(Left|Right)$" | wc -l)" -ge 2 ]' \
  || fail "the xterms did not show"
left=$(xdotool search --onlyvisible --name '^Left$' | head -1)
right=$(xdotool search --onlyvisible --name '^Right$' | head -1)
xdotool windowactivate --sync "$left"

echo '{"appearanceSpotlight": true}' > "$settings"
xdotool mousemove 640 500
start_new_users_program

# The xterm on the right comes forward: its monitor alone is veiled, around its frame. The
# veil eases in, stays a moment and eases out: a screenshot while it shows dimmed.
read -r fx fy fw fh < <(frame_of "$right")
import -window root "$work/before.png"
undimmed=$(red "$work/before.png" 2400 150)
right_dimmed() {
  [[ "$(veil_panels)" == "$right_monitor" ]] && import -window root "$work/shot.png" &&
    (($(red "$work/shot.png" 2400 150) < undimmed * 90 / 100))
}
activate "$right"
wait_for 5 right_dimmed || fail "no veil dimmed the right monitor: veil panels [$(echo $(veil_panels))]"
inside="$(pixel "$work/shot.png" $((fx + fw / 2)) $((fy + fh / 2)))"
[[ "$inside" == "$(pixel "$work/before.png" $((fx + fw / 2)) $((fy + fh / 2)))" ]] \
  || fail "the xterm's inside changed: $inside"
dimmed=$(red "$work/shot.png" 2400 150)
(( $(red "$work/shot.png" 640 900) == $(red "$work/before.png" 640 900) )) || fail "the left monitor changed"
ring=$(red "$work/shot.png" $((fx + fw / 2)) $((fy - 1)))
(( ring > dimmed )) || fail "no ring above the xterm: $ring, dimmed $dimmed"
expect_veil_panels 5
grep -q "the veil shows only its ring" "$work/log" && fail "complained of a missing compositor while one runs"

# Without a compositing manager: only the ring, and the reason in the log, once.
kill "$compositor"
wait "$compositor" 2>/dev/null || true
wait_for 10 sh -c '! xdotool search --name "^xcompmgr$"' || fail "xcompmgr did not stop"
activate "$left"
expect_veil_panels 3 "$left_monitor"
expect_veil_panels 5
read -r fx fy fw fh < <(frame_of "$right")
background="59,66,82"  # the desktop's own colour
ringed() { [[ "$(pixel "$work/plain.png" $((fx + fw / 2)) $((fy - 1)))" != "$background" ]]; }
activate "$right"
expect_veil_panels 3 "$right_monitor"
shot_until 3 plain ringed
ringed || fail "no ring without a compositor"
[[ "$(pixel "$work/plain.png" 2400 150)" == "$background" ]] || fail "dimmed without a compositor"
[[ "$(pixel "$work/plain.png" $((fx + fw / 2)) $((fy - 6)))" == "$background" ]] || fail "more than the ring shows"
expect_veil_panels 5
[[ $(grep -c "the veil shows only its ring" "$work/log") -eq 1 ]] || fail "the missing compositor was not logged once"

# The spotlight switched off: nothing appears.
kill -TERM "$program_pid"
expect_clean_exit
echo '{"appearanceSpotlight": false}' > "$settings"
start_new_users_program
is_active() { [[ $(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*$') == $(printf '0x%x' "$1") ]]; }
activate "$left"
wait_for 5 is_active "$left" || fail "the left xterm did not come forward"
activate "$right"
deadline=$((SECONDS + 2))
while ((SECONDS < deadline)); do
  [[ -z "$(veil_panels)" ]] || fail "a veil with the spotlight off: [$(echo $(veil_panels))]"
  sleep 0.1
done

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
