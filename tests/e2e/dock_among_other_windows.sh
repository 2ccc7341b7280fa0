# A new user's bottom dock on a lived-in desktop: it stays on every desktop through hides
# and reveals, reveals over a maximised terminal, makes room for a bar that another
# program draws outside window management, and shows the desktop at its rounded corners
# while no compositing manager runs.
source "$(dirname "$0")/../support/e2e-session.sh"
test_client="$(dirname "$program")/tests/quillbern_test_client"

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Bottom","items":[$(app debian-xterm XTerm),$(app vim Vim),$(app openbox Openbox)],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
# Past the first start: no walkthrough window under the pointer.
printf '{"hasCompletedOnboarding": true, "profiles.v1": {"$data": "%s"}, "appearanceTileSize": 48, "appearanceShowsLabels": false}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# Tile 48, no labels: 196 long, 90 thick, centred on the left monitor, 14 above its bottom.
left_bottom="542,976,196,90"
desktop_colour="3B4252"  # the test desktop's background

# The colour at a point of the screen, as RRGGBB.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1 | tr -d '#'; }

start_headless_desktop
xdotool mousemove 640 500
start_program
expect_dock_panels

# Shown, hidden and shown again, it is still on every desktop.
for round in 1 2; do
  xdotool mousemove 640 1079
  expect_dock_panels "$left_bottom"
  xdotool mousemove 640 500
  expect_dock_panels
done
xdotool mousemove 640 1079
expect_dock_panels "$left_bottom"
xdotool set_desktop 1
expect_dock_panels "$left_bottom"
xdotool set_desktop 0

# No compositing manager runs: the corners show the desktop, the bar itself is opaque.
[[ $(pixel 542 976) == "$desktop_colour" ]] || fail "the dock's corner shows #$(pixel 542 976)"
[[ $(pixel 640 1000) != "$desktop_colour" ]] || fail "the dock's bar is not drawn"

# A maximised terminal is no full-screen application: the dock still reveals over it.
xdotool mousemove 640 500
expect_dock_panels
xterm -title Maximised -geometry 80x24+200+200 -e sleep 60 &
terminal_pid=$!
desktop_pids+=($terminal_pid)
wait_for 10 xdotool search --onlyvisible --name '^Maximised$' || fail "no terminal"
terminal=$(xdotool search --onlyvisible --name '^Maximised$' | head -1)
# Openbox maximises a window whose title bar, just above the window, is double-clicked.
read -r x y < <(xwininfo -id "$terminal" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
xdotool mousemove $((x + 100)) $((y - 8)) click --repeat 2 --delay 80 1
wait_for 10 sh -c "xprop -id $terminal _NET_WM_STATE | grep -q MAXIMIZED_HORZ" || fail "the terminal is not maximised"
xdotool mousemove 640 500
sleep 0.5
xdotool mousemove 640 1079
expect_dock_panels "$left_bottom"
kill "$terminal_pid"

# A bar that no window manager manages reserves the bottom 40 rows of the left monitor.
xdotool mousemove 640 500
"$test_client" --class other-bar --geometry 1280x40+0+1040 --strut 0,0,0,40,0,0,0,0,0,0,0,1279 --unmanaged \
  --color 303040 >/dev/null &
desktop_pids+=($!)
xdotool mousemove 640 1079
expect_dock_panels "542,936,196,90"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
