#!/usr/bin/env bash
# The program's memory over a long busy stretch: the real program on the headless test
# desktop (two monitors) with a dock on both monitors that lists their running applications
# and a folder dock at the left edge of each, 50 client windows (each its own process) opening,
# moving and closing for MINUTES, the application overview opened and closed every few
# seconds and the folder's popover now and then. Anonymous memory and RSS are read from
# /proc as the program has started, once both were shown (the start), each minute, after the
# churn and after a quiet minute; the load average with each.
#
#   bench/soak.sh [MINUTES]     churns MINUTES (default 30)
#
# Needs the build (scripts/build) and the desktop packages (scripts/setup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/quillbern"
client="$root/build/tests/quillbern_test_client"
churn="$root/build/bench/quillbern_window_churn"
minutes=${1:-30}

source "$root/bench/lib/desktop-bench.sh"
require_built "$program" "$client" "$churn"

folder="$work/Holiday"
mkdir -p "$folder"
for n in 1 2 3 4 5 6; do printf 'note %s\n' "$n" >"$folder/note-$n.txt"; done
location='{"location":{"_0":{"id":"22222222-0000-4000-8000-000000000002","name":"Holiday","path":"'"$folder"'"}}}'
docks="[{\"id\":\"11111111-0000-4000-8000-000000000001\",\"name\":\"Running\",\"items\":[$(app debian-xterm XTerm),$(app openbox Openbox)],\
\"edge\":\"bottom\",\"display\":{\"all\":{}},\"isVisible\":true,\"isEnabled\":true,\"showsWindows\":true,\"revealMode\":\"hover\",\"alignment\":\"center\"},\
{\"id\":\"11111111-0000-4000-8000-000000000002\",\"name\":\"Folders\",\"items\":[$location],\
\"edge\":\"left\",\"display\":{\"all\":{}},\"isVisible\":true,\"isEnabled\":true,\"showsWindows\":false,\"revealMode\":\"hover\",\"alignment\":\"center\"}]"
export XDG_CONFIG_HOME="$work/config"
export XDG_CACHE_HOME="$work/cache"
write_settings "$docks" '"dockAutoHide": false'

start_headless_desktop --tray
xdotool mousemove 1280 300
start_program

# The centre of the folder dock: the dock panel at the left-hand edge.
folder_tile() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || continue
    xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
      /Width:/ {w=$NF} /Height:/ {h=$NF} END {if (x < 100 && h > w) print x + w / 2, y + h / 2}'
  done
}
wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --pid $program_pid 2>/dev/null | wc -l) -ge 3 ]" \
  || { echo "the dock panels did not show" >&2; cat "$work/log" >&2; exit 1; }
sleep 2
read -r tile_x tile_y <<<"$(folder_tile)"
[[ -n "${tile_x:-}" ]] || { echo "the folder dock did not show" >&2; exit 1; }

memory() { awk '/^RssAnon:/ {a = $2} /^VmRSS:/ {r = $2} END {printf "%.2f %.1f", a / 1024, r / 1024}' \
  "/proc/$program_pid/status"; }
load() { cut -d' ' -f1-3 /proc/loadavg; }
samples=()
sample() {  # label
  local anon rss
  read -r anon rss <<<"$(memory)"
  samples+=("$anon")
  printf '%-22s anonymous %6.2f MB, RSS %6.1f MB (load average %s)\n' "$1" "$anon" "$rss" "$(load)"
}

show_overview() {
  xdotool key ctrl+super+a
  sleep 1
  xdotool key ctrl+super+a
}
show_popover() {
  xdotool mousemove "$tile_x" "$tile_y" click 1
  sleep 1
  xdotool mousemove 1280 300 click 1
}

# Both shown once before the start: what their first showing loads for good (Qt's fonts and
# glyphs for their labels, the folder's icons) is no growth.
sample "just started"
show_overview
show_popover
sleep 2
sample "start"
"$churn" "$client" 50 $((minutes * 60)) >"$work/churn.log" &
churn_pid=$!
started=$SECONDS
minute=0
step=0
while kill -0 "$churn_pid" 2>/dev/null; do
  # The overview every 4 s, open for one of them; the folder's popover every 40 s.
  show_overview
  if ((step % 10 == 5)); then show_popover; else sleep 1; fi
  sleep 2
  step=$((step + 1))
  if (((SECONDS - started) / 60 > minute)); then
    minute=$(((SECONDS - started) / 60))
    sample "minute $minute"
  fi
done
wait "$churn_pid" || true
sample "after the churn"
sleep 60
sample "after a quiet minute"

# Growth after the first five minutes, per 10 minutes: the least-squares slope of the samples
# from minute 5 to the minute before the churn's last (whose windows are closing by then);
# and the quiet minute against the start and against the program just started.
churned=("${samples[@]:2:${#samples[@]}-4}")
awk -v started="${samples[0]}" -v start="${samples[1]}" -v quiet="${samples[-1]}" -v list="${churned[*]}" 'BEGIN {
    n = split(list, at, " ")
    for (m = 5; m < n; m++) { k++; sx += m; sy += at[m]; sxx += m * m; sxy += m * at[m] }
    if (k >= 2) printf "growth after the first five minutes: %+.2f MB per 10 minutes (minutes 5 to %d)\n",
      (k * sxy - sx * sy) / (k * sxx - sx * sx) * 10, n - 1
    printf "after a quiet minute: %+.2f MB against the start (%+.2f MB against the program just started)\n",
      quiet - start, quiet - started }'
