# A new user's knock docks on the two-monitor desktop: a bottom dock that rests on the
# edge without coming out and comes out to touch, pull back, touch, with a glint along the
# edge while the knock is armed; a dock on the left monitor's right edge, which borders the
# right monitor, that comes out when the pointer crosses onto the right monitor and back,
# twice; and, over the bottom dock's running terminal, the preview of its window above the
# dock. With QUILLBERN_E2E_SCREENSHOTS set, screenshots of each step are kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
# The left monitor has no EDID: it is known by its output, "screen".

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Knock","items":[$(app debian-xterm XTerm),$(app vim Vim),$(app openbox Openbox)],
  "edge":"bottom","display":{"display":{"stableID":"screen","name":"Left"}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"knock","alignment":"center"},
 {"id":"11111111-0000-4000-8000-000000000002","name":"Seam","items":[$(app debian-xterm XTerm),$(app vim Vim)],
  "edge":"right","display":{"display":{"stableID":"screen","name":"Left"}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"knock","alignment":"center"}]
JSON
)
# The relaxed tempo leaves room for a loaded machine between the steps of a gesture. No
# walkthrough: a jump of the pointer into a window of ours shows in no motion event, and
# the pointer's jumps here are to the desktop itself.
printf '{"profiles.v1": {"$data": "%s"}, "appearanceTileSize": 48, "appearanceShowsLabels": false, "dockKnockTempo": "relaxed", "previewsEnabled": true, "hasCompletedOnboarding": true}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# Tile 48, no labels: the bottom dock is 196 by 90, centred on the left monitor, 14 above
# its bottom; its glint lies 2 points above the bottom, as long as the dock and 16 thick.
# The right dock is 72 by 180, 14 in from the seam, its glint 2 points in from it.
bottom_dock="542,976,196,90"
bottom_glint="542,1062,196,16"
seam_dock="1194,450,72,180"
seam_glint="1262,450,16,180"
# The terminal's tile, and the preview centred on the pointer 6 points above the dock.
tile_x=584
tile_y=1021
preview="414,720,340,250"

shots=${QUILLBERN_E2E_SCREENSHOTS:-}
# shoot NAME [SECONDS]: a screenshot that long after the step, when they are kept; nothing is
# checked on it.
shoot() {
  [[ -z $shots ]] && return
  sleep "${2:-0}"
  import -window root "$shots/$1.png"
}

# Each step of a gesture stays long enough for the reveal machine's 0.12 s tick to see it.
# This paces the pointer as a hand would; it waits for nothing.
step() {
  xdotool mousemove "$1" "$2"
  sleep 0.3
}

start_headless_desktop --compositor
xterm -title Notes -geometry 60x12+120+120 -e sh -c 'echo a terminal to preview; exec cat' >/dev/null 2>&1 &
desktop_pids+=($!)
wait_for 10 xdotool search --onlyvisible --name '^Notes$' || fail "no terminal"
xdotool mousemove 640 500
start_program
expect_started_docks_hidden 2  # once the pointer has been away for a moment

# Resting on the bottom edge under the dock is no knock.
xdotool mousemove 640 1079
deadline=$((SECONDS + 2))
while ((SECONDS < deadline)); do
  [[ -z "$(dock_panels)" ]] || fail "the knock dock came out on contact: $(dock_panels)"
  sleep 0.1
done
step 640 900

# Touch, pull back: armed, the glint shows where the dock will come.
step 640 1079
xdotool mousemove 640 900
expect_dock_panels "$bottom_glint"
shoot armed-glint 0.2  # after its fade-in
# Touch again within the window: the dock comes out and the glint goes.
xdotool mousemove 640 1079
expect_dock_panels "$bottom_dock"

# Over the terminal's tile, the preview of its window stands above the dock, centred on the
# pointer that jumped there.
xdotool mousemove "$tile_x" "$tile_y"
expect_dock_panels "$bottom_dock" "$preview"
shoot preview 1  # the window's picture follows the card a moment later
xdotool mousemove 640 500
expect_dock_panels

# At the seam: out onto the right monitor and back, twice.
step 1270 540
step 1300 540
step 1270 540
expect_dock_panels "$seam_glint"
shoot seam-glint 0.2
step 1300 540
xdotool mousemove 1270 540
expect_dock_panels "$seam_dock"
shoot seam-revealed

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
