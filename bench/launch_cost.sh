#!/usr/bin/env bash
# What one launch from a dock costs: the real program on the headless test desktop, a dock
# on each monitor holding an application whose program runs on without a window and is never
# seen to arrive, so that its tile bounces on both monitors and the launch beacon's ring turns
# until the launch gives up after 8 s. One click on the tile, and over the 13 s from just
# before it the wake-ups (voluntary and involuntary context switches) and the CPU time of
# every thread of the program, from /proc as bench/idle_cost.sh reads them: in all, by
# thread, and a frame of those 8 s at 60 frames a second. With HOLD, a second click, and then
# another client holds the X server HOLD seconds while the ring and the bounce run: the
# wake-ups a second meanwhile, over all but the first half second and the last of the hold.
# Fails over 60 ms of CPU or 2.5 wake-ups a frame for the launch, at 30 wake-ups a second or
# more while the server is held, or when the beacon does not show all the launch long.
#
#   bench/launch_cost.sh [HOLD]     HOLD: seconds the server is held, 2 at least (none by default)
#
# Needs the build (scripts/build) and the desktop packages (scripts/setup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/quillbern"
holder="$root/build/tests/quillbern_server_holder"
hold=${1:-}
frames=480  # 8 s at 60 frames a second

source "$root/bench/lib/desktop-bench.sh"
require_built "$program" "$holder"

# Its program says it is another application, as a script that starts another may.
export XDG_DATA_HOME="$work/data"
entries="$XDG_DATA_HOME/applications"
mkdir -p "$entries"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=sleep 1\nNoDisplay=true\n' >"$entries/quillbern-other.desktop"
printf '[Desktop Entry]\nType=Application\nName=Silent\nExec=sh -c %s\n' \
  "'GIO_LAUNCHED_DESKTOP_FILE=$entries/quillbern-other.desktop GIO_LAUNCHED_DESKTOP_FILE_PID=\$\$ exec sleep 15'" \
  >"$entries/quillbern-silent.desktop"
docks="[{\"id\":\"11111111-0000-4000-8000-000000000001\",\"name\":\"Main\",\"items\":[$(app quillbern-silent Silent)],"
docks+='"edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,'
docks+='"revealMode":"hover","alignment":"center"}]'
export XDG_CONFIG_HOME="$work/config"
write_settings "$docks" '"dockAutoHide": false'
# The one tile of the left monitor's dock (as tests/e2e/application_tiles.sh places it).
tile_x=640
tile_y=1022

# report LABEL BEFORE AFTER SECONDS [FRAMES]: the wake-ups and CPU time between two readings
# of `threads`, in all (and a frame, over FRAMES) and by thread name (a name several threads
# share: their sum, and how many); "wake-ups milliseconds" in $work/totals.
report() {
  join -a 1 -e 0 -o 0,1.2,1.3,1.4,2.3,2.4 <(echo "$3") <(echo "$2") | awk -v label="$1" -v t="$4" -v frames="${5:-0}" '
    { s = $3 - $5; c = $4 - $6; switches += s; cpu += c; if (s > 0) { woke[$2] += s; spent[$2] += c; count[$2]++ } }
    END {
      printf "%s: %d wake-ups (%.1f a second", label, switches, switches / t
      if (frames > 0) printf ", %.2f a frame", switches / frames
      printf "), %.1f ms CPU\n", cpu / 1e6
      for (name in woke) printf "    %-16s %6d wake-ups %7.1f ms CPU (%d thread%s)\n", name, woke[name], spent[name] / 1e6,
        count[name], (count[name] > 1 ? "s" : "")
      print switches, cpu / 1e6 > "/dev/stderr"
    }' 2>"$work/totals"
}

# The beacon: a dock panel more than the two docks.
beacon_shows() { (($(dock_panels | wc -l) >= 3)); }
beacon_gone() { (($(dock_panels | wc -l) == 2)); }

start_headless_desktop
xdotool mousemove 900 500
start_program
wait_for 20 docks_made 2 || { echo "the program did not make its two dock panels" >&2; exit 1; }
sleep 3  # the start-up is done

status=0
xdotool mousemove "$tile_x" "$tile_y"
sleep 1
before=$(threads)
start=$SECONDS
xdotool click 1
wait_for 3 beacon_shows || { echo "no launch beacon after the click" >&2; exit 1; }
sleep $((7 - (SECONDS - start)))
beacon_shows || { echo "the beacon went before the launch gave up" >&2; status=1; }
sleep $((13 - (SECONDS - start)))
after=$(threads)
beacon_gone || { echo "the beacon still shows 13 s after the click" >&2; status=1; }
report "one launch, over 13 s" "$before" "$after" 13 "$frames"
read -r wakes cpu <"$work/totals"
awk -v w="$wakes" -v c="$cpu" -v f="$frames" 'BEGIN {
  if (c > 60) { print "more than 60 ms CPU for the launch"; over = 1 }
  if (w > 2.5 * f) { print "more than 2.5 wake-ups a frame for the launch"; over = 1 }
  exit over }' || status=1

if [[ -n $hold ]]; then
  xdotool click 1
  wait_for 3 beacon_shows || { echo "no launch beacon after the second click" >&2; exit 1; }
  "$holder" --hold "$hold" >"$work/holder" &
  holder_pid=$!
  wait_for 5 grep -q "^held$" "$work/holder" || { echo "the holder did not hold the server" >&2; exit 1; }
  sleep 0.5  # what was under way when the server stopped answering
  measured=$(awk -v h="$hold" 'BEGIN {print h - 1.5}')
  before=$(threads)
  sleep "$measured"
  after=$(threads)
  wait "$holder_pid"
  report "the server held, over $measured s of it" "$before" "$after" "$measured"
  read -r wakes cpu <"$work/totals"
  awk -v w="$wakes" -v t="$measured" 'BEGIN {
    if (w / t >= 30) { print "30 wake-ups a second or more while the server is held"; exit 1 } }' || status=1
fi
exit "$status"
