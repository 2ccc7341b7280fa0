# A new user drags applications out of the bottom dock onto the right-hand monitor: while
# the terminal's tile is dragged one ghost cell shows there, and after the release the
# terminal stands in it; the test client dragged next shows two cells and both tile. A drag
# with Escape pressed midway drops nothing; Ctrl+Super+W hides both and brings them back
# tiled. Without a compositing manager only the cells' rings show, the desktop around and
# inside them stays as it was; with one, the cells tint what lies below.
source "$(dirname "$0")/../support/e2e-session.sh"

export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/applications"
convert -size 96x96 xc:none -fill '#d9534f' -draw 'roundrectangle 6,6 90,90 20,20' "$work/probe.png"
cat >"$XDG_DATA_HOME/applications/org.example.Probe.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Probe
Exec=$test_client --class probe --title Probe --color d9534f
Icon=$work/probe.png
StartupWMClass=probe
DESKTOP
app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","items":[$(app debian-xterm XTerm),$(app org.example.Probe Probe)],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false, "hasCompletedOnboarding": true}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# Two tiles of 62 in a dock of 180 by 104 centred on the left monitor's bottom edge.
left_dock="550,962,180,104"
right_dock="1830,962,180,104"
xterm_tile="604 1022"
probe_tile="674 1022"
desktop="3b4252"
white="ffffff"

# Screenshots, kept in QUILLBERN_E2E_SCREENSHOTS when it is set.
shot() {
  import -window root "$work/$1.png"
  [[ -z ${QUILLBERN_E2E_SCREENSHOTS:-} ]] || cp "$work/$1.png" "$QUILLBERN_E2E_SCREENSHOTS/placement_overlay-$1.png"
}
pixel() { convert "$work/$1.png" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6 | tr 'A-F' 'a-f'; }
# The colour on screen right now.
live() { import -window root "$work/live.png"; pixel live "$1" "$2"; }
differs() { [[ $(live "$1" "$2") != "$3" ]]; }
same() { [[ $(live "$1" "$2") == "$3" ]]; }
# The window with the window manager's frame around it: x y width height.
frame_of() {
  local x y w h l r t b
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
  IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
# in_cell WINDOW X Y WIDTH HEIGHT: the frame stands at the cell's corner, inside it (the
# terminal rounds its size to whole characters).
in_cell() {
  local x y w h
  read -r x y w h < <(frame_of "$1")
  ((x == $2 && y == $3 && w <= $4 && h <= $5 && w > $4 - 20 && h > $5 - 30))
}
wm_state() { xprop -id "$1" WM_STATE | grep -o 'state: [A-Za-z]*' | cut -d' ' -f2; }

# grab TILE X Y: presses on the tile and drags it in steps to x, y, the button held.
grab() {
  local tx ty
  read -r tx ty <<<"$1"
  xdotool mousemove "$tx" "$ty"
  sleep 0.2
  xdotool mousedown 1
  local step
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((tx + ($2 - tx) * step / 8)) $((ty + ($3 - ty) * step / 8))
    sleep 0.05
  done
}

start_headless_desktop
xterm -title Term -geometry 80x24+100+100 &
desktop_pids+=($!)
"$test_client" --class probe --title Probe --color d9534f --geometry 400x300+300+500 >/dev/null &
desktop_pids+=($!)
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^(Term|Probe)$" | wc -l)" -ge 2 ]' \
  || fail "the windows did not show"
term=$(xdotool search --onlyvisible --name '^Term$' | head -1)
probe=$(xdotool search --onlyvisible --name '^Probe$' | head -1)
start_program
expect_dock_panels "$left_dock" "$right_dock"

# The terminal's tile over the right-hand monitor: one ghost cell, the whole monitor less
# 10 points all round, highlighted; only its ring shows.
grab "$xterm_tile" 1900 500
wait_for 5 differs 1900 11 "$desktop" || fail "no ghost cell on the right-hand monitor"
# A cell the left-hand monitor showed while the tile crossed it eases out first.
wait_for 5 same 640 11 "$desktop" || fail "a cell on the left-hand monitor"
shot dragging-one
[[ $(pixel dragging-one 1291 500) != "$desktop" ]] || fail "the cell's left edge does not show"
[[ $(pixel dragging-one 1920 11) != "$desktop" ]] || fail "one cell, not two"
[[ $(pixel dragging-one 1900 500) == "$desktop" ]] || fail "the desktop inside the cell: $(pixel dragging-one 1900 500)"
[[ $(pixel dragging-one 1285 500) == "$desktop" ]] || fail "the desktop around the cell"
xdotool mouseup 1
wait_for 5 in_cell "$term" 1290 10 1260 1060 || fail "the terminal is not in the cell: $(frame_of "$term")"
wait_for 5 same 1291 500 "$white" || fail "the ghost cell stays over the terminal: $(live 1291 500)"

# The test client next: two cells side by side, the one under the pointer highlighted.
shot before-two
grab "$probe_tile" 2200 500
wait_for 5 differs 1926 500 "$white" || fail "no second cell"
shot dragging-two
[[ $(pixel dragging-two 1920 11) == "$(pixel before-two 1920 11)" ]] || fail "one cell, not two"
[[ $(pixel dragging-two 2200 11) != "$(pixel before-two 2200 11)" ]] || fail "the right-hand cell is not ringed solid"
xdotool mouseup 1
wait_for 5 in_cell "$term" 1290 10 625 1060 || fail "the terminal is not in the left cell: $(frame_of "$term")"
wait_for 5 in_cell "$probe" 1925 10 625 1060 || fail "the client is not in the right cell: $(frame_of "$probe")"
term_frame=$(frame_of "$term")
probe_frame=$(frame_of "$probe")

# Escape midway: the overlay goes while the button is still held, and the release over the
# left-hand monitor drops nothing.
edge=$(live 1913 500)
grab "$xterm_tile" 500 500
wait_for 5 differs 1913 500 "$edge" || fail "no ghost cells while the terminal's tile is dragged again"
xdotool key Escape
wait_for 5 same 1913 500 "$edge" || fail "the overlay stays after Escape: $(live 1913 500)"
xdotool mouseup 1
unmoved() { [[ $(frame_of "$term") == "$term_frame" && $(frame_of "$probe") == "$probe_frame" ]]; }
holds_for 1 unmoved || fail "a drag ended with Escape moved windows: $(frame_of "$term") / $(frame_of "$probe")"

# The shortcut hides both and brings them back tiled.
xdotool key ctrl+super+w
wait_for 5 sh -c "[ \"\$(xprop -id $term WM_STATE | grep -c Iconic)\$(xprop -id $probe WM_STATE | grep -c Iconic)\" = 11 ]" \
  || fail "the workspace did not hide: $(wm_state "$term") $(wm_state "$probe")"
xdotool key ctrl+super+w
wait_for 5 sh -c "[ \"\$(xprop -id $term WM_STATE | grep -c Normal)\$(xprop -id $probe WM_STATE | grep -c Normal)\" = 11 ]" \
  || fail "the workspace did not come back: $(wm_state "$term") $(wm_state "$probe")"
wait_for 5 in_cell "$term" 1290 10 625 1060 || fail "the terminal came back elsewhere: $(frame_of "$term")"
wait_for 5 in_cell "$probe" 1925 10 625 1060 || fail "the client came back elsewhere: $(frame_of "$probe")"

# With a compositing manager the cells tint the windows below them.
xcompmgr >/dev/null 2>&1 &
desktop_pids+=($!)
wait_for 10 xdotool search --name '^xcompmgr$' || fail "xcompmgr did not start"
grab "$xterm_tile" 1500 500
wait_for 5 differs 1500 500 "$white" || fail "no tinted cell over the terminal"
shot dragging-composited
tint=$(pixel dragging-composited 1500 500)
((16#${tint:0:2} > 0xc0)) || fail "the cell blacks the terminal out: $tint"
xdotool key Escape
wait_for 5 same 1500 500 "$white" || fail "the overlay stays after Escape: $(live 1500 500)"
xdotool mouseup 1

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
