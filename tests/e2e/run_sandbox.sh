# The settings scripts/run gives the program on the headless desktop: the program reads them
# whole, setting nothing aside, and shows one dock on each monitor.
source "$(dirname "$0")/../support/e2e-session.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/sandbox.sh"
seed_sandbox "$settings"
export XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"

start_headless_desktop
start_client_windows
start_program
# One dock wholly on each monitor: the left one's id is its output's, the right one's its own.
one_dock_each() {
  local frames
  frames=$(dock_panels)
  [[ $(wc -l <<<"$frames") -eq 2 ]] && awk -F, '$1 + $3 <= 1280 {l = 1} $1 >= 1280 {r = 1} END {exit !(l && r)}' <<<"$frames"
}
wait_for 10 one_dock_each || fail "not one dock on each monitor: $(echo $(dock_panels))"
# Nothing of it was dropped as unreadable.
grep -q corrupt "$settings" && fail "the program set parts of the settings aside"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
