#!/usr/bin/env bash
# What the program costs while nothing happens: the real program on the headless test
# desktop (two monitors, openbox, a tray), three docks (four panels), six client windows,
# the pointer still in the middle of a monitor. Reports, from /proc, the wake-ups a second of
# all its threads (voluntary and involuntary context switches of /proc/PID/task/*/status) and
# the CPU seconds it uses per idle minute (/proc/PID/task/*/schedstat), once with auto-hide on,
# the docks hidden, and once with it off. Fails when auto-hide on wakes it more than twice a
# second or takes more than 0.02 s a minute, when auto-hide off wakes it once a second or
# more, or when the bottom dock, hidden all the while, does not come out within a second of
# the mouse touching the edge under it (an XTest move, as a device's).
#
#   bench/idle_cost.sh [SECONDS]     measures SECONDS (default 30) in each setting
#
# Needs the build (scripts/build) and the desktop packages (scripts/setup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/quillbern"
client="$root/build/tests/quillbern_test_client"
seconds=${1:-30}
settle=5

source "$root/bench/lib/desktop-bench.sh"
require_built "$program" "$client"

dock() {  # id name edge display
  printf '{"id":"11111111-0000-4000-8000-00000000000%s","name":"%s","items":[%s,%s],"edge":"%s","display":%s,' \
    "$1" "$2" "$(app debian-xterm XTerm)" "$(app openbox Openbox)" "$3" "$4"
  printf '"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}'
}
docks="[$(dock 1 Bottom bottom '{"all":{}}'),$(dock 2 Side left '{"display":{"stableID":"Q-RIGHT","name":"Right"}}'),$(dock 3 Top top '{"display":{"stableID":"screen","name":"Q-LEFT"}}')]"

# The time now in seconds, to the nanosecond.
now() { date +%s.%N; }
# Whether a dock panel longer than thick shows on the left monitor.
bottom_dock_shows() { dock_panels | awk -F, '$1 < 1280 && $3 > $4' | grep -q .; }

measure() {  # label autoHide most-wake-ups-a-second [most-CPU-seconds-a-minute]
  local label=$1 auto_hide=$2 most_wakes=$3 most_cpu=${4:-}
  export XDG_CONFIG_HOME="$work/config-$auto_hide"
  write_settings "$docks" "\"dockAutoHide\": $auto_hide"
  xdotool mousemove 640 500
  start_program
  wait_for 20 docks_made 4 || { echo "$label: the program did not make its four dock panels" >&2; exit 1; }
  sleep "$settle"  # the docks hide and the first passes of the window worker are done
  if $auto_hide && [[ -n "$(dock_panels)" ]]; then
    echo "$label: docks show with the pointer away from them: $(dock_panels | xargs)" >&2
    exit 1
  fi

  local before after status=0
  before=$(threads)
  sleep "$seconds"
  after=$(threads)
  # Threads that began meanwhile count from nothing; one that ended takes its last count along.
  join -a 1 -e 0 -o 0,1.2,1.3,1.4,2.3,2.4 <(echo "$after") <(echo "$before") | awk -v label="$label" -v t="$seconds" \
    -v most_wakes="$most_wakes" -v most_cpu="$most_cpu" '
    { s = $3 - $5; c = $4 - $6; switches += s; cpu += c; if (s > 0) woke[$2] += s }
    END {
      wakes = switches / t; minute = cpu / 1e9 * 60 / t
      printf "%s: %.2f wake-ups/s, %.4f s CPU per idle minute\n", label, wakes, minute
      for (name in woke) printf "    %-16s %.2f/s\n", name, woke[name] / t
      if (wakes > most_wakes) { printf "%s: more than %s wake-ups/s\n", label, most_wakes; over = 1 }
      if (most_cpu != "" && minute > most_cpu) { printf "%s: more than %s s CPU per idle minute\n", label, most_cpu; over = 1 }
      exit over
    }' || status=1

  if $auto_hide; then
    # Still hidden after the rest; then the mouse touches the bottom edge under the bottom
    # dock of the left monitor.
    [[ -z "$(dock_panels)" ]] || { echo "$label: a dock came out at rest: $(dock_panels | xargs)" >&2; exit 1; }
    local start=$(now)
    xdotool mousemove_relative 0 579
    wait_for 5 bottom_dock_shows
    local took
    took=$(awk -v a="$start" -v b="$(now)" 'BEGIN {printf "%.2f", b - a}')
    if awk -v took="$took" 'BEGIN {exit !(took <= 1)}'; then
      echo "    the bottom dock came out $took s after the mouse touched the edge"
    else
      echo "$label: the bottom dock did not come out within a second of the mouse touching the edge ($took s)" >&2
      status=1
    fi
  fi

  kill "$program_pid"
  wait "$program_pid" 2>/dev/null || true
  program_pid=
  return "$status"
}

start_headless_desktop --tray
for i in 1 2 3 4 5 6; do
  x=$(((i - 1) % 3 * 400 + (i > 3 ? 1380 : 100)))
  "$client" --class "idle-client-$i" --title "Client $i" --geometry "320x240+$x+$((150 + i * 40))" >/dev/null &
  desktop_pids+=($!)
done
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^Client [1-6]$" | wc -l)" -ge 6 ]' \
  || { echo "the client windows did not show" >&2; exit 1; }

echo "Idle for $seconds s with the pointer still, three docks, six client windows:"
status=0
measure "auto-hide on " true 2 0.02 || status=1
measure "auto-hide off" false 0.99 || status=1
exit "$status"
