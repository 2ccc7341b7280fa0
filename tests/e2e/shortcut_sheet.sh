# A new user's shortcut sheet: Ctrl+Super+K shows it centred on the monitor under the
# pointer with the keyboard taken from the terminal; any key closes it, and so does a
# click on the terminal, which then has the keyboard again. Its automation URL, given to a
# second start, toggles it too.
source "$(dirname "$0")/../support/e2e-session.sh"

# The program's shown palette windows (not its docks), one id a line.
palette_windows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || echo "$id"
  done
}

# expect_sheet_centred_on CX CY: waits, at most 10 s, for one palette window centred there
# (within a point) that has the keyboard; sets $sheet.
expect_sheet_centred_on() {
  local deadline=$((SECONDS + 10)) frame=
  while :; do
    sheet=$(palette_windows)
    if [[ $(echo "$sheet" | sed '/^$/d' | wc -l) -eq 1 ]]; then
      frame=$(xwininfo -id "$sheet" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x + w / 2, y + h / 2}')
      read -r cx cy <<<"$frame"
      if awk -v a="$cx" -v b="$1" -v c="$cy" -v d="$2" 'BEGIN {exit !((a-b)^2 <= 1 && (c-d)^2 <= 1)}' &&
        [[ $(xdotool getwindowfocus) == "$sheet" ]]; then
        return 0
      fi
    fi
    ((SECONDS < deadline)) || fail "no sheet with the keyboard centred on $1,$2 (windows [$(echo $sheet)], centre $frame, focus $(xdotool getwindowfocus getwindowname))"
    sleep 0.05
  done
}

expect_no_sheet() {
  wait_for 10 sh -c "[ -z \"\$(xdotool search --onlyvisible --pid $program_pid 2>/dev/null | while read -r id; do
    xprop -id \$id _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || echo \$id; done)\" ]" \
    || fail "the sheet is still shown"
}

start_headless_desktop
xterm -title Terminal -geometry 80x24+100+100 -e sleep 120 &
desktop_pids+=($!)
wait_for 10 xdotool search --onlyvisible --name '^Terminal$' || fail "no terminal"
terminal=$(xdotool search --onlyvisible --name '^Terminal$' | head -1)
xdotool windowactivate --sync "$terminal"
xdotool mousemove 1900 500
# Past the first start: no walkthrough window takes the keyboard.
printf '{"hasCompletedOnboarding": true}\n' > "$settings"
start_program

# Both monitors are 1280 x 1080 side by side: the right one's centre is 1920, 540.
xdotool key ctrl+super+k
expect_sheet_centred_on 1920 540
xdotool key x
expect_no_sheet
[[ $(xdotool getwindowfocus) == "$terminal" ]] || fail "the terminal did not get the keyboard back"

xdotool mousemove 640 900
xdotool key ctrl+super+k
expect_sheet_centred_on 640 540
xdotool mousemove 300 200 click 1
expect_no_sheet
wait_for 10 sh -c "[ \"\$(xdotool getwindowfocus)\" = $terminal ]" || fail "the clicked terminal has no keyboard"

# The shortcut toggles: pressed again, it closes the sheet.
xdotool key ctrl+super+k
expect_sheet_centred_on 640 540
xdotool key ctrl+super+k
expect_no_sheet

# The URL through a second start, with the pointer on the other monitor.
xdotool mousemove 2200 300
"$program" 'quillbern://shortcuts/toggle' >>"$work/second.log" 2>&1 || fail "the second start failed"
expect_sheet_centred_on 1920 540
"$program" 'quillbern://shortcuts/toggle' >>"$work/second.log" 2>&1 || fail "the second start failed"
expect_no_sheet

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
