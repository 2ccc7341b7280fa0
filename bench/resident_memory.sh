#!/usr/bin/env bash
# The program's resident memory on the test desktop with three docks of ten tiles each
# (one on both monitors and listing the running applications, two on the right-hand
# monitor), read from /proc once the four dock panels stand and its picture readers, which read
# their icons, have ended (the anonymous memory of any still running is told apart).
# Usage: bench/resident_memory.sh [program]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/quillbern}
source "$root/bench/lib/desktop-bench.sh"

export XDG_CONFIG_HOME="$work/config"
entries=(vim debian-xterm debian-uxterm python3.11 display-im6.q16 openbox)
# Ten applications: the installed entries, then ones that are not installed.
items() {
  local n id
  for ((n = 0; n < 10; n++)); do
    id=${entries[n % ${#entries[@]}]}
    ((n >= ${#entries[@]})) && id+="-$n"
    ((n > 0)) && printf ','
    printf '{"app":{"_0":{"bundleID":"%s","name":"App %d"}}}' "$id" "$n"
  done
}
dock() {  # number name edge display showsWindows
  printf '{"id":"22222222-0000-4000-8000-00000000000%s","name":"%s","items":[%s],"edge":"%s","display":%s,' \
    "$1" "$2" "$(items)" "$3" "$4"
  printf '"isVisible":true,"isEnabled":true,"showsWindows":%s,"revealMode":"hover","alignment":"center"}' "$5"
}
docks="[$(dock 1 Main bottom '{"all":{}}' true),$(dock 2 Side left '{"display":{"stableID":"Q-RIGHT","name":"Right"}}' false),$(dock 3 Top top '{"display":{"stableID":"Q-RIGHT","name":"Right"}}' false)]"
write_settings "$docks" '"dockAutoHide": false'

start_headless_desktop
start_client_windows
start_program
# Let the panels show, the window list settle and the icons load.
wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --pid $program_pid 2>/dev/null | wc -l) -ge 4 ]" \
  || { echo "the dock panels did not show" >&2; cat "$work/log" >&2; exit 1; }
sleep 2
# At rest: its picture readers, which read the icons, have ended; any that runs counts with it.
wait_for 15 sh -c "! pgrep -P $program_pid -x quillbern-pics" || true
readers=0
for reader in $(pgrep -P "$program_pid" -x quillbern-pics); do
  readers=$((readers + $(awk '/^RssAnon:/ {print $2}' "/proc/$reader/status")))
done
# Resident memory counts the pages of shared libraries the program touched too, which other
# programs share: its own part is the anonymous memory (heap, stacks, caches).
status=/proc/$program_pid/status
libraries=$(awk '/^[0-9a-f]+-[0-9a-f]+ / { library = ($6 ~ /\.so(\.[0-9]+)*$/) }
  library && /^Rss:/ { kb += $2 } END { print kb + 0 }' "/proc/$program_pid/smaps")
awk -v libraries="$libraries" -v readers="$readers" '/^(VmRSS|RssAnon|RssFile|RssShmem):/ { kb[$1] = $2 }
  END {
    printf "resident memory with three docks of 10 tiles: %.1f MB\n", kb["VmRSS:"] / 1024
    printf "  anonymous, the program alone: %.1f MB (its picture readers still running: %.1f MB)\n",
      kb["RssAnon:"] / 1024, readers / 1024
    printf "  shared libraries: %.1f MB\n", libraries / 1024
    printf "  other mapped files (the program, fonts, caches): %.1f MB\n", (kb["RssFile:"] - libraries) / 1024
    printf "  shared memory: %.1f MB\n", kb["RssShmem:"] / 1024
  }' "$status"
