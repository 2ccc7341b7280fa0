# A new user's application overview: with a terminal and two applications whose desktop
# entries name their icons, Ctrl+Super+A shows them on the monitor under the pointer, the
# most recently used first and the one used before it selected; Return brings that one
# forward and closes the overview. A right click on a tile lists its windows and choosing
# one brings it forward; the automation URL and a Ctrl-click on a dock toggle it.
source "$(dirname "$0")/../support/e2e-session.sh"

printf '{"dockAutoHide": false, "hasCompletedOnboarding": true}\n' > "$settings"

# Two applications of the tests' client, known by their desktop entries.
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/applications"
entry() { # entry ID NAME CLASS COLOUR
  convert -size 96x96 xc:none -fill "$4" -draw 'roundrectangle 6,6 90,90 20,20' "$work/$1.png"
  cat >"$XDG_DATA_HOME/applications/$1.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=$2
Exec=$test_client --class $3 --title $2
Icon=$work/$1.png
StartupWMClass=$3
DESKTOP
}
entry org.example.Alpha Alpha alpha '#d9534f'
entry org.example.Beta Beta beta '#428bca'

active_window() { xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*$'; }
hex() { printf '0x%x' "$1"; }
# A test for sh -c: the window is the active one.
is_active() { echo "[ \"\$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*$')\" = $(hex "$1") ]"; }

# The program's shown palette window (not its docks), if any.
overview_window() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK && continue
    xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && continue
    echo "$id"
  done
}
frame_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
# expect_overview_centred_on CX CY: waits for the overview there with the keyboard; sets
# $overview and its frame $ox $oy $ow $oh.
expect_overview_centred_on() {
  local deadline=$((SECONDS + 10))
  while :; do
    overview=$(overview_window | head -1)
    if [[ -n $overview ]]; then
      read -r ox oy ow oh <<<"$(frame_of "$overview")"
      if (((ox + ow / 2 - $1) ** 2 <= 1 && (oy + oh / 2 - $2) ** 2 <= 1)) &&
        [[ $(xdotool getwindowfocus) == "$overview" ]]; then
        return 0
      fi
    fi
    ((SECONDS < deadline)) || fail "no overview with the keyboard centred on $1,$2 (window $overview at $ox,$oy ${ow}x$oh)"
    sleep 0.05
  done
}
expect_no_overview() {
  wait_for 10 sh -c "[ -z \"\$(xdotool search --onlyvisible --pid $program_pid 2>/dev/null | while read -r id; do
    xprop -id \$id _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK && continue
    xwininfo -id \$id | grep -q 'Override Redirect State: yes' && continue; echo \$id; done)\" ]" \
    || fail "the overview is still shown"
}
# The centre of tile n (from 0) of an overview of `count` tiles, in X coordinates: the
# row is centred in the panel, 4 + 20 below its top, its tiles 120 wide and 128 apart.
tile_centre() {
  local row=$(($1 * 120 + ($1 - 1) * 8 + 48))
  echo $((ox + (ow - row) / 2 + 24 + $2 * 128 + 60)) $((oy + 4 + 20 + 60))
}

start_headless_desktop
start_program
xterm -title Terminal -geometry 80x24+100+100 -e sleep 120 &
desktop_pids+=($!)
"$test_client" --class alpha --title Alpha --geometry 400x300+1400+150 &
desktop_pids+=($!)
"$test_client" --class beta --title Beta --geometry 400x300+1600+400 &
desktop_pids+=($!)
for name in Terminal Alpha Beta; do
  wait_for 10 xdotool search --onlyvisible --name "^$name\$" || fail "no $name window"
done
terminal=$(xdotool search --onlyvisible --name '^Terminal$' | head -1)
alpha=$(xdotool search --onlyvisible --name '^Alpha$' | head -1)
beta=$(xdotool search --onlyvisible --name '^Beta$' | head -1)
# Used in this order: Beta last, Alpha before it.
for window in "$terminal" "$alpha" "$beta"; do
  xdotool windowactivate --sync "$window"
  wait_for 5 sh -c "$(is_active "$window")" || fail "could not activate $window"
  sleep 0.3 # the program hears of each activation on its own
done

# The right monitor's centre is 1920, 540.
xdotool mousemove 2400 900
xdotool key ctrl+super+a
expect_overview_centred_on 1920 540
((ow == 3 * 120 + 2 * 8 + 48 + 8)) || fail "the overview is $ow wide for three tiles"
[[ -n ${QUILLBERN_E2E_SCREENSHOTS:-} ]] && import -window root "$QUILLBERN_E2E_SCREENSHOTS/app_overview.png"
xdotool key Return
expect_no_overview
wait_for 5 sh -c "$(is_active "$alpha")" || fail "Return did not bring Alpha forward (active $(active_window))"

# Now Alpha, Beta, Terminal: the terminal's tile lists its window, and choosing it brings
# the terminal forward. A menu takes the keyboard a moment after it shows.
menu_shows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && return 0
  done
  return 1
}
chosen=
for attempt in 1 2 3 4 5; do
  [[ -n $(overview_window) ]] || { xdotool key ctrl+super+a; expect_overview_centred_on 1920 540; }
  read -r tx ty <<<"$(tile_centre 3 2)"
  xdotool mousemove "$tx" "$ty" click 3
  wait_for 2 menu_shows || continue
  xdotool key Down Return
  if wait_for 2 sh -c "$(is_active "$terminal")"; then chosen=1; break; fi
  menu_shows && xdotool key Escape
done
[[ -n $chosen ]] || fail "choosing the terminal's window in its tile's menu did not bring it forward"
expect_no_overview

# The URL through a second start, with the pointer over the left monitor's bare desktop.
xdotool mousemove 1000 800
"$program" 'quillbern://overview/toggle' >>"$work/second.log" 2>&1 || fail "the second start failed"
expect_overview_centred_on 640 540
"$program" 'quillbern://overview/toggle' >>"$work/second.log" 2>&1 || fail "the second start failed"
expect_no_overview

# A Ctrl-click on the left monitor's dock toggles it.
read -r dx dy dw dh <<<"$(dock_panels | sort -t, -k1,1n | head -1 | tr ',' ' ')"
xdotool mousemove $((dx + dw / 2)) $((dy + dh / 2))
xdotool keydown ctrl click 1 keyup ctrl
expect_overview_centred_on 640 540
xdotool keydown ctrl click 1 keyup ctrl
expect_no_overview

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
