# A click that reaches the dock while another client holds the X server, the pointer leaving
# the dock at once: the X server gives the release where the pointer went, as if the tile
# were dragged out without a move. The press is a click on its tile, and the next click on
# another tile is one too: no drag waits for a release already given.
source "$(dirname "$0")/../support/e2e-session.sh"
holder="$(dirname "$test_client")/quillbern_server_holder"
[[ -x $holder ]] || fail "missing $holder"

# Two applications whose programs leave a mark when started.
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/applications"
for name in first second; do
  printf '[Desktop Entry]\nType=Application\nName=%s\nExec=touch %s/started-%s\n' "$name" "$work" "$name" \
    >"$XDG_DATA_HOME/applications/quillbern-$name.desktop"
done
app() { printf '{"app":{"_0":{"bundleID":"quillbern-%s","name":"%s"}}}' "$1" "$1"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","items":[$(app first),$(app second)],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false}\n' "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# Two tiles of 62 in a dock of 180 by 104, centred on each monitor's bottom edge; the left
# monitor's tiles stand 70 apart about its middle.
first_x=605
second_x=675
tile_y=1022
started() { [[ -e "$work/started-$1" ]]; }

start_headless_desktop
xdotool mousemove 1280 300
start_program
expect_dock_panels "550,962,180,104" "1830,962,180,104"

xdotool mousemove "$first_x" "$tile_y"
sleep 0.5
"$holder" --hold 1 --click --leave 900,500 >"$work/holder" || fail "the holder did not run: $(cat "$work/holder")"
wait_for 5 started first || fail "the click made while the server was held started nothing"

sleep 1
xdotool mousemove "$second_x" "$tile_y" click 1
wait_for 5 started second || fail "the next click, on another tile, started nothing"
