# A new user tries focus mode: Ctrl+Super+V dims the monitor of the focused xterm all
# around it and leaves the other monitor alone; the automation URLs switch it; the veil
# follows the xterm to the other monitor and the focus to another window, steps aside
# while a window is dragged, and switching off leaves no veil behind.
source "$(dirname "$0")/../support/e2e-session.sh"
source "$(dirname "$0")/../support/veil-checks.sh"

left_monitor="0,0,1280,1080"
right_monitor="1280,0,1280,1080"

# The probes every check reads: one point inside each window, one point of each monitor
# that no window covers.
centre_of() {
  local x y w h
  read -r x y w h < <(frame_of "$1")
  echo "$((x + w / 2)) $((y + h / 2))"
}
# dimmed SHOT X Y: darker there than before focus mode.
dimmed() { (($(red "$work/$1.png" "$2" "$3") < $(red "$work/before.png" "$2" "$3") * 90 / 100)); }
untouched() { [[ "$(pixel "$work/$1.png" "$2" "$3")" == "$(pixel "$work/before.png" "$2" "$3")" ]]; }

start_headless_desktop
xcompmgr >/dev/null 2>&1 &
desktop_pids+=($!)
wait_for 10 xdotool search --name '^xcompmgr$' || fail "xcompmgr did not start"
xterm -title Editor -geometry 80x24+100+100 &
desktop_pids+=($!)
"$test_client" --title Other --color 3070b0 --geometry 400x300+700+600 >/dev/null &
desktop_pids+=($!)
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^(Editor|Other)$" | wc -l)" -ge 2 ]' \
  || fail "the windows did not show"
xterm=$(xdotool search --onlyvisible --name '^Editor$' | head -1)
other=$(xdotool search --onlyvisible --name '^Other$' | head -1)
xdotool mousemove 1900 1000
# Past the walkthrough, whose window would have the focus.
echo '{"hasCompletedOnboarding": true}' > "$settings"
start_program
xdotool windowactivate --sync "$xterm"
# Both windows drawn: the xterm's inside is white, the client's its colour.
drawn() {
  read -r ex ey < <(centre_of "$xterm")
  read -r ox oy < <(centre_of "$other")
  [[ "$(pixel "$work/before.png" "$ex" "$ey")" == "255,255,255" && "$(pixel "$work/before.png" "$ox" "$oy")" == "48,112,176" ]]
}
shot_until 10 before drawn
drawn || fail "the windows are not drawn"

# The shortcut: the xterm's monitor is dimmed around it, the other one is not.
xdotool key ctrl+super+v
expect_veil_panels 3 "$left_monitor" "$right_monitor"
read -r ex ey < <(centre_of "$xterm")
shot_until 5 on dimmed on 640 900
untouched on "$ex" "$ey" || fail "inside the xterm changed: $(pixel "$work/on.png" "$ex" "$ey")"
dimmed on 640 900 || fail "the xterm's monitor is not dimmed: $(pixel "$work/on.png" 640 900)"
untouched on 2400 150 || fail "the other monitor changed: $(pixel "$work/on.png" 2400 150)"

# The automation URLs switch it: a second start hands each to the running program.
send() { timeout 5 "$program" "$1" >"$work/second.log" 2>&1 || fail "the start given $1 failed or hung"; }
send 'quillbern://focus/off'
expect_veil_panels 3
send 'quillbern://focus/on'
expect_veil_panels 3 "$left_monitor" "$right_monitor"
shot_until 5 on-again dimmed on-again 640 900
dimmed on-again 640 900 || fail "the URL did not dim the xterm's monitor"

# The xterm moves to the other monitor: the veil follows it there.
xdotool windowmove "$xterm" 1500 200
wait_for 5 sh -c "xwininfo -id $xterm | grep -q 'Absolute upper-left X:  *1[5-9][0-9][0-9]'" \
  || fail "the xterm did not move"
read -r cx cy < <(centre_of "$xterm")
followed() { dimmed moved 2400 150 && untouched moved 640 900; }
shot_until 5 moved followed
((cx > 1280)) || fail "the xterm did not move: centre $cx"
untouched moved 640 900 || fail "the left monitor is still dimmed: $(pixel "$work/moved.png" 640 900)"
dimmed moved 2400 150 || fail "the right monitor is not dimmed: $(pixel "$work/moved.png" 2400 150)"
[[ "$(pixel "$work/moved.png" "$cx" "$cy")" == "$(pixel "$work/on.png" "$ex" "$ey")" ]] \
  || fail "inside the moved xterm is dimmed: $(pixel "$work/moved.png" "$cx" "$cy")"

# Another window takes the focus: the hole goes to it, back on the left monitor.
xdotool windowactivate --sync "$other"
read -r ox oy < <(centre_of "$other")
around_other() { untouched other "$ox" "$oy" && dimmed other 200 900 && untouched other 2400 150; }
shot_until 5 other around_other
untouched other "$ox" "$oy" || fail "inside the focused client changed: $(pixel "$work/other.png" "$ox" "$oy")"
dimmed other 200 900 || fail "the client's monitor is not dimmed: $(pixel "$work/other.png" 200 900)"
untouched other 2400 150 || fail "the xterm's monitor is still dimmed: $(pixel "$work/other.png" 2400 150)"

# Dragging the focused window by its title bar: the veil steps aside until the release.
read -r fx fy fw fh < <(frame_of "$other")
drag() {
  local step
  for step in $(seq "$1" "$2"); do
    xdotool mousemove $((fx + fw / 2 + step * 8)) $((fy + 8 - step * 8))
    sleep 0.05
  done
}
xdotool mousemove $((fx + fw / 2)) $((fy + 8)) mousedown 1
drag 1 12
shot_until 5 dragging untouched dragging 200 900
untouched dragging 200 900 || fail "still dimmed while the window is dragged: $(pixel "$work/dragging.png" 200 900)"
drag 13 16
xdotool mouseup 1
read -r ox oy < <(centre_of "$other")
back() { dimmed dropped 200 900 && untouched dropped "$ox" "$oy"; }
shot_until 5 dropped back
dimmed dropped 200 900 || fail "the veil did not come back after the release: $(pixel "$work/dropped.png" 200 900)"
untouched dropped "$ox" "$oy" || fail "the hole is not where the window ended: $(pixel "$work/dropped.png" "$ox" "$oy")"

# Switched off with the shortcut: no veil panel stays mapped.
xdotool key ctrl+super+v
expect_veil_panels 3
shot_until 5 off untouched off 640 900
untouched off 640 900 || fail "dimmed after switching off: $(pixel "$work/off.png" 640 900)"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
