# A new user's docks under one window manager (the script's third argument): a bottom and a
# left dock on each monitor stand clear of the window manager's own bar; resting the
# pointer on a tile of either shows its name, though a dock never takes the focus; and two
# applications dragged out onto the left-hand monitor fill their workspace cells exactly
# (xfwm4 knows only that one of the test desktop's two monitors). Focus mode then dims
# around the focused window, every veil below every dock.
source "$(dirname "$0")/../support/e2e-session.sh"
wm=${3:?which window manager}

export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/applications"
for colour in d9534f 5cb85c; do
  convert -size 96x96 xc:none -fill "#$colour" -draw 'roundrectangle 6,6 90,90 20,20' "$work/$colour.png"
  cat >"$XDG_DATA_HOME/applications/org.example.C$colour.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Probe $colour
Exec=$test_client --class c$colour --title C$colour --color $colour
Icon=$work/$colour.png
StartupWMClass=c$colour
DESKTOP
done
app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
dock() {
  printf '{"id":"11111111-0000-4000-8000-00000000000%s","name":"%s","items":[%s,%s],"edge":"%s",' \
    "$1" "$2" "$(app org.example.Cd9534f Red)" "$(app org.example.C5cb85c Green)" "$3"
  printf '"display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}'
}
docks="[$(dock 1 Main bottom),$(dock 2 Side left)]"
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false, "hasCompletedOnboarding": true}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

shot() {
  [[ -z ${QUILLBERN_E2E_SCREENSHOTS:-} ]] || import -window root "$QUILLBERN_E2E_SCREENSHOTS/window_manager-$wm-$1.png"
}
# The window with the window manager's frame around it: x y width height.
frame_of() {
  local x y w h l r t b
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
  IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
# The program's tooltip while one shows: x y width height.
tooltip() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP || continue
    xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
      /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
    return 0
  done
  return 1
}
no_tooltip() { ! tooltip >/dev/null; }
# hover X Y: rests the pointer there, from the empty desktop, until the tile's name shows
# beside it.
hover() {
  xdotool mousemove 1000 200
  wait_for 5 no_tooltip || fail "a name still shows away from the docks"
  xdotool mousemove "$1" "$2"
  sleep 0.1
  xdotool mousemove "$(($1 + 1))" "$2"
  wait_for 5 tooltip || fail "no name shows over the tile at $1,$2"
  local x y w h
  read -r x y w h < <(tooltip)
  ((x < $1 + 200 && x + w > $1 - 200 && y < $2 + 200 && y + h > $2 - 200)) \
    || fail "the name shows far from the tile at $1,$2: $x $y $w $h"
}

start_headless_desktop --wm "$wm"
# Running before the program starts, so that a drop never starts another copy.
"$test_client" --class cd9534f --title Cd9534f --color d9534f --geometry 400x300+1500+200 >/dev/null &
desktop_pids+=($!)
"$test_client" --class c5cb85c --title C5cb85c --color 5cb85c --geometry 400x300+1500+600 >/dev/null &
desktop_pids+=($!)
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^C(d9534f|5cb85c)$" | wc -l)" -ge 2 ]' \
  || fail "the windows did not show"
red=$(xdotool search --onlyvisible --name '^Cd9534f$' | head -1)
green=$(xdotool search --onlyvisible --name '^C5cb85c$' | head -1)
start_program
wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --pid $program_pid 2>/dev/null | wc -l) -ge 4 ]" \
  || fail "the docks did not show"
# Where the window manager's own bar leaves room at the bottom of the left monitor (icewm's
# taskbar, in a frame of its own, stands there alone); both bottom docks stand as far above
# the bottom of their monitor's room.
case $wm in
  icewm) bottom=1054 ;;
  *) bottom=1080 ;;
esac
panels=$(dock_panels)
[[ $(wc -l <<<"$panels") -eq 4 ]] || fail "dock panels: $(echo $panels)"
gaps=()
while IFS=, read -r x y w h; do
  room=$bottom
  ((x < 1280)) || room=1080
  ((y + h <= room)) || fail "a dock covers the window manager's bar: $x,$y,$w,$h (bar from $room)"
  ((w < h)) || gaps+=($((room - y - h)))
done <<<"$panels"
[[ ${#gaps[@]} -eq 2 && ${gaps[0]} -eq ${gaps[1]} ]] \
  || fail "the bottom docks stand ${gaps[*]} above their monitors' room: $(echo $panels)"

# The first tile of the bottom dock on the left monitor and of the left dock: a dock of two
# tiles of 62, its first icon 54 in from the bar's start and 60 down from the top of a
# bottom dock, or as far in from the side of a left one.
read -r bx by bw bh < <(awk -F, '$1 < 1280 && $3 > $4 {print $1, $2, $3, $4; exit}' <<<"$panels")
read -r lx ly lw lh < <(awk -F, '$1 < 100 && $4 > $3 {print $1, $2, $3, $4; exit}' <<<"$panels")
[[ -n ${bx:-} && -n ${lx:-} ]] || fail "no bottom or left dock: $(echo $panels)"
hover $((bx + 54)) $((by + 60))
shot bottom-tile-name
hover $((lx + lw / 2)) $((ly + 54 + 18))
shot left-tile-name

# Two applications dropped on the left-hand monitor fill its two cells, each exactly.
drag() {
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool mousedown 1
  local step
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $(($1 + ($3 - $1) * step / 8)) $(($2 + ($4 - $2) * step / 8))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
}
height=$((bottom - 20))
fills() { [[ $(frame_of "$1") == "$2 10 $3 $height" ]]; }
drag $((bx + 54)) $((by + 60)) 500 500
wait_for 5 fills "$red" 10 1260 || fail "the first does not fill the monitor: $(frame_of "$red")"
drag $((bx + 124)) $((by + 60)) 900 500
wait_for 5 fills "$red" 10 625 || fail "the first is not in the left cell: $(frame_of "$red")"
wait_for 5 fills "$green" 645 625 || fail "the second is not in the right cell: $(frame_of "$green")"
shot workspace

# Our shown docks and veils (whole monitors) from the top of the stacking down, one word
# for each window the window manager stacks: a dock in its frame counts as the frame.
our_stacking() {
  local id w h kinds=""
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    read -r w h < <(xwininfo -id "$id" | awk '/Width:/ {w=$NF} /Height:/ {h=$NF} END {print w, h}')
    if [[ "$w $h" == "1280 1080" ]]; then
      kinds+="$(printf '0x%x' "$id")=veil "
    elif xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK; then
      kinds+="$(printf '0x%x' "$id")=dock "
    fi
  done
  xwininfo -root -tree | awk -v kinds="$kinds" '
    BEGIN { n = split(kinds, pairs, " "); for (i = 1; i <= n; i++) { split(pairs[i], p, "="); kind[p[1]] = p[2] } }
    match($0, /^ +0x[0-9a-f]+/) {
      if (RLENGTH == 5 + length($1)) top = $1
      if (($1 in kind) && !(top in seen)) { seen[top] = 1; printf "%s ", kind[$1] }
    }'
}
veiled() { [[ $(our_stacking) == *veil* ]]; }
docks_over_veils() { [[ $(our_stacking) =~ ^(dock )+(veil )+$ ]]; }
xdotool windowactivate --sync "$red"
timeout 5 "$program" 'quillbern://focus/on' >/dev/null 2>&1 || fail "focus mode's URL was not handed over"
wait_for 5 veiled || fail "focus mode shows no veil: $(our_stacking)"
holds_for 1 docks_over_veils || fail "a veil stands over a dock, top down: $(our_stacking)"
shot focus-mode

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
