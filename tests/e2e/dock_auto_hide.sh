# A new user's bottom dock on every display, with auto-hide on as it is by default: it
# slides away, comes back when the pointer touches the bottom edge under it, hides again
# when the pointer leaves, and does not answer to the edge beside its stretch.
source "$(dirname "$0")/../support/e2e-session.sh"

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Bottom","items":[$(app debian-xterm XTerm),$(app vim Vim),$(app openbox Openbox)],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
# Past the first start: no walkthrough window under the pointer.
printf '{"hasCompletedOnboarding": true, "profiles.v1": {"$data": "%s"}, "appearanceTileSize": 48, "appearanceShowsLabels": false}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# Tile 48, no labels: 196 long, 90 thick, centred on the left monitor (x 542 to 738),
# 14 above its bottom row (y 1079).
left_bottom="542,976,196,90"

start_headless_desktop
xdotool mousemove 640 500
start_program
expect_started_docks_hidden 2  # once the pointer has been away for a moment

xdotool mousemove 640 1079
expect_dock_panels "$left_bottom"

xdotool mousemove 640 500
expect_dock_panels

# Beside the dock's stretch (more than 12 points past its end) the edge stays quiet over
# many ticks of the reveal machine.
xdotool mousemove 300 1079
deadline=$((SECONDS + 2))
while ((SECONDS < deadline)); do
  [[ -z "$(dock_panels)" ]] || fail "the dock came out for the edge beside it: $(dock_panels)"
  sleep 0.1
done

xdotool mousemove 530 1079  # 12 points before its left end
expect_dock_panels "$left_bottom"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
