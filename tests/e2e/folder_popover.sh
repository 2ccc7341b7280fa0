# A new user's pinned folder: a click on its tile opens a popover above it with the
# folder's newest files, the hidden dock stays out while the popover is open, a file made
# in the folder meanwhile shows without opening it again, and Escape closes it, after
# which the dock hides again. QUILLBERN_E2E_SCREENSHOTS, when set, names a folder that
# keeps the screenshot of the open popover.
source "$(dirname "$0")/../support/e2e-session.sh"

folder="$work/Holiday"
mkdir -p "$folder"
convert -size 640x480 gradient:'#2a6fdb'-'#f5c542' "$folder/beach.png"
convert -size 480x640 xc:'#3c9d5d' -fill '#f2f2f2' -draw 'circle 240,320 240,160' "$folder/forest.png"
printf 'packing list\n' >"$folder/notes.txt"
touch -d '-3 minutes' "$folder/notes.txt"
touch -d '-2 minutes' "$folder/forest.png"
touch -d '-1 minutes' "$folder/beach.png"
export XDG_CACHE_HOME="$work/cache"

docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main",
  "items":[{"location":{"_0":{"id":"22222222-0000-4000-8000-000000000002","name":"Holiday","path":"$folder"}}}],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
# Past the first start: no walkthrough window takes the pointer's motion or the keyboard.
printf '{"hasCompletedOnboarding": true, "profiles.v1": {"$data": "%s"}, "dockAutoHide": true}\n' "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# One tile of 62: the dock is 180 by 104, centred on the left monitor's bottom edge.
left_dock="550,962,180,104"
tile_x=640
tile_y=1022

# The program's pop-up: a window of its own that no window manager manages.
popover() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && { echo "$id"; return 0; }
  done
  return 1
}
popover_shows() { popover >/dev/null; }
popover_gone() { ! popover_shows; }
# "x,y,width,height" of a window.
frame_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x "," y "," w "," h}'
}

start_headless_desktop
xdotool mousemove 640 500
start_program
expect_dock_panels

xdotool mousemove "$tile_x" 1079
expect_dock_panels "$left_dock"
xdotool mousemove "$tile_x" "$tile_y" click 1
wait_for 5 popover_shows || fail "no popover after a click on the folder's tile"
shown=$(popover)
IFS=, read -r x y width height <<<"$(frame_of "$shown")"
((y + height < tile_y)) || fail "the popover does not stand above its tile: $x,$y,${width}x$height"
((x < tile_x && x + width > tile_x)) || fail "the popover is not over its tile: $x,$y,${width}x$height"
((width == 300)) || fail "three items take three columns, 300 wide: $width"

# The thumbnails are made off the main thread and stored in the shared cache.
thumbnails_stored() { [[ $(find "$XDG_CACHE_HOME/thumbnails/normal" -name '*.png' 2>/dev/null | wc -l) -eq 2 ]]; }
wait_for 10 thumbnails_stored || fail "no thumbnails stored: $(find "$XDG_CACHE_HOME" -type f)"
if [[ -n "${QUILLBERN_E2E_SCREENSHOTS:-}" ]]; then
  mkdir -p "$QUILLBERN_E2E_SCREENSHOTS"
  import -window root -crop 1280x1080+0+0 "$QUILLBERN_E2E_SCREENSHOTS/folder_popover.png"
fi

# The pointer leaves the dock: the popover keeps it out.
xdotool mousemove 1000 300
deadline=$((SECONDS + 2))
while ((SECONDS < deadline)); do
  [[ "$(dock_panels)" == "$left_dock" ]] || fail "the dock hid while its popover was open: $(dock_panels)"
  sleep 0.1
done

# A file made now shows in the open popover: a second row grows it.
printf 'tickets\n' >"$folder/tickets.txt"
grown() { IFS=, read -r _ _ _ h <<<"$(frame_of "$shown")"; ((h > height)); }
wait_for 5 grown || fail "the new file did not show in the open popover"

xdotool key Escape
wait_for 5 popover_gone || fail "Escape did not close the popover"
expect_dock_panels  # and the dock hides again

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
