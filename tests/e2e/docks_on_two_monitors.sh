# A new user's three docks on the two-monitor desktop: one at the bottom of every display,
# one on the left of the right-hand monitor only, and a switched-off one. Exactly their
# panels appear, where the dock geometry puts them; the right-hand monitor's panels go
# with it and come back with it.
source "$(dirname "$0")/../support/e2e-session.sh"

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Bottom","items":[$(app debian-xterm XTerm),$(app vim Vim),$(app openbox Openbox)],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"},
 {"id":"11111111-0000-4000-8000-000000000002","name":"Side","items":[$(app debian-xterm XTerm),$(app vim Vim)],
  "edge":"left","display":{"display":{"stableID":"Q-RIGHT","name":"Right"}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"},
 {"id":"11111111-0000-4000-8000-000000000003","name":"Off","items":[],
  "edge":"top","display":{"all":{}},"isVisible":true,"isEnabled":false,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
# Auto-hide off: the docks stay in sight while their geometry is checked.
# Past the first start: no walkthrough window under the pointer.
printf '{"hasCompletedOnboarding": true, "profiles.v1": {"$data": "%s"}, "appearanceTileSize": 48, "appearanceShowsLabels": false, "dockAutoHide": false}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# Tile 48, no labels. Bottom: 3 cells, 3 x 48 + 2 x 8 + 36 = 196 long, 90 thick, centred,
# 14 above the bottom. Left: cells of 36, at least 180 long, 72 thick, centred, 14 inside.
left_bottom="542,976,196,90"
right_bottom="1822,976,196,90"
right_left="1294,450,72,180"

start_headless_desktop
start_program
expect_dock_panels "$left_bottom" "$right_bottom" "$right_left"

xrandr --delmonitor Q-RIGHT >/dev/null
expect_dock_panels "$left_bottom"

xrandr --setmonitor Q-RIGHT 1280/338x1080/285+1280+0 none >/dev/null
expect_dock_panels "$left_bottom" "$right_bottom" "$right_left"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
