#!/usr/bin/env bash
# How long the program's main loop is kept from its events while the desktop is busy: the
# real program on the headless test desktop (three docks, one listing running windows),
# 50 client windows (each its own process) opening, then moving, closing and opening for
# SECONDS, and the longest lateness of a 5 ms probe timer on the main loop meanwhile
# (QUILLBERN_STALL_PROBE, counting from 2 s after the start, once the start-up is done).
#
#   bench/window_churn.sh [SECONDS]     churns SECONDS (default 10)
#
# Needs the build (scripts/build) and the desktop packages (scripts/setup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/quillbern"
client="$root/build/tests/quillbern_test_client"
churn="$root/build/bench/quillbern_window_churn"
seconds=${1:-10}

for needed in "$program" "$client" "$churn"; do
  [[ -x "$needed" ]] || { echo "missing $needed: run scripts/build first" >&2; exit 1; }
done

source "$root/scripts/lib/headless-desktop.sh"
work=$(mktemp -d)
program_pid=
finish() {
  [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
  stop_headless_desktop
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
dock() {  # n name edge display showsWindows
  printf '{"id":"11111111-0000-4000-8000-00000000000%s","name":"%s","items":[%s,%s],"edge":"%s","display":%s,' \
    "$1" "$2" "$(app debian-xterm XTerm)" "$(app openbox Openbox)" "$3" "$4"
  printf '"isVisible":true,"isEnabled":true,"showsWindows":%s,"revealMode":"hover","alignment":"center"}' "$5"
}
docks="[$(dock 1 Bottom bottom '{"all":{}}' true),$(dock 2 Side left '{"display":{"stableID":"Q-RIGHT","name":"Right"}}' false),$(dock 3 Top top '{"display":{"stableID":"Q-LEFT","name":"Left"}}' false)]"
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/quillbern"
printf '{"profiles.v1": {"$data": "%s"}}\n' "$(printf '%s' "$docks" | base64 -w0)" \
  >"$XDG_CONFIG_HOME/quillbern/defaults.json"

start_headless_desktop --tray
xdotool mousemove 640 500
QUILLBERN_STALL_PROBE=2 "$program" >"$work/log" 2>&1 &
program_pid=$!
wait_for 20 grep -q "^Quillbern: started$" "$work/log" || { cat "$work/log" >&2; exit 1; }
sleep 2.5
"$churn" "$client" 50 "$seconds"
kill -TERM "$program_pid"
wait "$program_pid" || true
program_pid=
grep "longest stall" "$work/log" | sed 's/^Quillbern: //' \
  || { echo "no probe report; the program's log:" >&2; cat "$work/log" >&2; exit 1; }
