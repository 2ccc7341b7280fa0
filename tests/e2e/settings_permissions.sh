# A new user in Settings › Hover previews and › Permissions: switching previews on shows no
# warning on X11, where window pictures need no permission, and a running terminal's tile
# then shows its window's preview; Permissions shows window access "Granted", turns into
# "Check Window Access" within about two seconds once the window manager stops, and back to
# "Granted" once it runs again. Controls are found by their accessible names through AT-SPI,
# as a screen reader finds them. With QUILLBERN_E2E_SCREENSHOTS set, screenshots are kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi() { /usr/bin/python3 "$(dirname "$0")/../support/atspi.py" "$@"; }
shots=${QUILLBERN_E2E_SCREENSHOTS:-}
shoot() { [[ -z $shots ]] || import -window root "$shots/permissions-$1.png"; }

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","items":[$(app debian-xterm XTerm),$(app vim Vim)],
  "edge":"bottom","display":{"display":{"stableID":"screen","name":"Left"}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false, "previewsEnabled": false, "hasCompletedOnboarding": true}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" >"$settings"

panel_count() { dock_panels | grep -c . || true; }
export -f dock_panels panel_count

start_headless_desktop --accessibility
xterm -title Notes -geometry 60x12+120+120 -e sh -c 'echo a terminal to preview; exec cat' >/dev/null 2>&1 &
desktop_pids+=($!)
wait_for 10 xdotool search --onlyvisible --name '^Notes$' || fail "no terminal"
start_program
wait_for 10 bash -c '[ "$(panel_count)" -eq 1 ]' || fail "no dock: $(dock_panels)"

# A second start without arguments opens the running one's Settings.
"$program" >/dev/null 2>&1 || fail "the second start failed"
wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "Settings did not open"

# Previews on: no permission is missing on X11, so no warning and no button.
atspi select "Hover previews" "list item" || fail "no Hover previews section"
atspi press "Show window previews" "check box" || fail "no previews switch"
atspi wait "Show window previews" "check box" checked || fail "the previews switch did not turn on"
wait_for 10 grep -q '"previewsEnabled": *true' "$settings" || fail "previews were not stored on"
atspi --timeout 1 gone "Allow Window Pictures…" "push button" || fail "a window pictures button shows on X11"
atspi --timeout 0 gone "“Window pictures” permission required" || fail "a window pictures warning shows on X11"
shoot previews-on

# Over the running terminal's tile, its window's preview comes up above the dock. The
# pointer comes along the bottom edge first, as a hand does.
IFS=, read -r tile_x tile_y tile_w tile_h < <(atspi find XTerm "push button" | cut -d'|' -f4)
xdotool mousemove $((tile_x + tile_w / 2)) 1079
sleep 0.3
xdotool mousemove $((tile_x + tile_w / 2)) $((tile_y + tile_h / 2))
wait_for 10 bash -c '[ "$(panel_count)" -eq 2 ]' || fail "no preview over the terminal's tile: $(dock_panels)"
[[ -z $shots ]] || sleep 1  # the window's picture follows the card a moment later
shoot preview
xdotool mousemove 1900 500
wait_for 10 bash -c '[ "$(panel_count)" -eq 1 ]' || fail "the preview stayed: $(dock_panels)"

# Window access is granted while the window manager runs.
atspi select Permissions "list item" || fail "no Permissions section"
atspi find Granted label >/dev/null || fail "Permissions does not say Granted"
shoot granted

# The window manager stops: within about two seconds the row offers to ask again.
manager=$(pgrep -P $$ -x openbox) || fail "no window manager of this desktop"
stopped_at=$(date +%s%N)
kill "$manager"
atspi --timeout 4 wait "Check Window Access" "push button" showing || fail "the row did not offer to ask"
took=$((($(date +%s%N) - stopped_at) / 1000000))
((took <= 2500)) || fail "the row took $took ms to follow the window manager"
atspi --timeout 0 gone Granted label || fail "Granted still shows"
# Asking again without a window manager changes nothing.
atspi press "Check Window Access" "push button" || fail "the button did not press"
atspi --timeout 1 find "Check Window Access" "push button" >/dev/null || fail "the button went without a window manager"
shoot not-granted

# It runs again: "Granted" comes back.
openbox --sm-disable >/dev/null 2>&1 &
desktop_pids+=($!)
atspi wait Granted label showing || fail "the row did not turn back to Granted"
atspi --timeout 1 gone "Check Window Access" "push button" || fail "the button stayed"
shoot granted-again

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
