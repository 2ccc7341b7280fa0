#!/usr/bin/env bash
# How long the program's main loop is kept from its events while the desktop is busy: the
# real program on the headless test desktop (three docks shown, one listing the running
# applications on both monitors), 50 client windows (each its own process) opening, then
# moving, closing and opening for SECONDS, and the longest lateness of a 5 ms probe timer on
# the main loop meanwhile (QUILLBERN_STALL_PROBE, counting from 2 s after the start, once
# the start-up is done) and how much of it was the loop's own, not time it waited for a
# processor or slept past the time it asked to be woken at, with the longest piece of work
# the loop ran and its kind, what else the loop ran in the longest stall, and how many times
# the program's windows were painted, in all and a second (each repaint may wait for the X
# server).
#
#   bench/window_churn.sh [SECONDS] [HOLD_MS]
#       churns SECONDS (default 10); with HOLD_MS, another client also holds the X server
#       that long every 300 ms, as a server busy now and then
#
# Needs the build (scripts/build) and the desktop packages (scripts/setup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/quillbern"
client="$root/build/tests/quillbern_test_client"
churn="$root/build/bench/quillbern_window_churn"
seconds=${1:-10}
hold=${2:-0}

source "$root/bench/lib/desktop-bench.sh"
require_built "$program" "$client" "$churn"

dock() {  # n name edge display showsWindows
  printf '{"id":"11111111-0000-4000-8000-00000000000%s","name":"%s","items":[%s,%s],"edge":"%s","display":%s,' \
    "$1" "$2" "$(app debian-xterm XTerm)" "$(app openbox Openbox)" "$3" "$4"
  printf '"isVisible":true,"isEnabled":true,"showsWindows":%s,"revealMode":"hover","alignment":"center"}' "$5"
}
docks="[$(dock 1 Bottom bottom '{"all":{}}' true),$(dock 2 Side left '{"display":{"stableID":"Q-RIGHT","name":"Right"}}' false),$(dock 3 Top top '{"display":{"stableID":"screen","name":"Q-LEFT"}}' false)]"
export XDG_CONFIG_HOME="$work/config"
write_settings "$docks" '"dockAutoHide": false'

start_headless_desktop --tray
xdotool mousemove 640 500
start_program QUILLBERN_STALL_PROBE=2
sleep 2.5
# In a virtual machine the host may run other guests on its processors meanwhile: the
# eighth figure of /proc/stat's processor line, in hundredths of a second.
stolen() { awk '/^cpu / {print $9}' /proc/stat; }
stolen_before=$(stolen)
"$churn" "$client" 50 "$seconds" "$hold"
kill -TERM "$program_pid"
wait "$program_pid" || true
program_pid=
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); processor time taken by the host: $((($(stolen) - stolen_before) * 10)) ms"
grep "longest stall" "$work/log" | sed 's/^Quillbern: //' \
  || { echo "no probe report; the program's log:" >&2; cat "$work/log" >&2; exit 1; }
