# Sourced by the end-to-end scripts: a private settings directory, the program on a
# headless desktop, and the cleanup of both. The script's first argument is the program,
# the second the tests' X client.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/headless-desktop.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/dock-panels.sh"

program=$1
test_client=${2:-}
work=$(mktemp -d)
program_pid=
export XDG_CONFIG_HOME="$work/config"
settings="$XDG_CONFIG_HOME/quillbern/defaults.json"
mkdir -p "$(dirname "$settings")"

e2e_cleanup() {
  # A background job killed before it ran its command runs this trap too: only the script may.
  ((BASHPID == $$)) || return 0
  # A program that already ended must not cut the cleanup short.
  if [[ -n "$program_pid" ]] && child_of_this_shell "$program_pid"; then kill -9 "$program_pid" 2>/dev/null || true; fi
  stop_headless_desktop
  rm -rf "$work"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- program log:" >&2; cat "$work/log" >&2 || true
  echo "--- settings:" >&2; cat "$settings" >&2 || true
  exit 1
}

# holds_for SECONDS COMMAND...: whether COMMAND holds at every look for that long; for what
# must not happen, looked for all the while it could.
holds_for() {
  local deadline=$((SECONDS + $1)); shift
  while ((SECONDS < deadline)); do
    "$@" >/dev/null 2>&1 || return 1
    sleep 0.1
  done
}

# Starts the program and waits for its start line. The log is emptied first: the child
# opens it only after the wait below may have read an earlier run's start line.
start_program() {
  : >"$work/log"
  "$program" >>"$work/log" 2>&1 &
  program_pid=$!
  wait_for 20 grep -q "^Quillbern: started$" "$work/log" || fail "no start line"
}

# Waits, at most 10 s, for the program to end on its own; fails unless it ends cleanly.
expect_clean_exit() {
  wait_for 10 sh -c "! kill -0 $program_pid" || fail "still running after 10 s"
  local status=0
  wait "$program_pid" || status=$?
  program_pid=
  [[ $status -eq 0 ]] || fail "exit status $status"
  grep -q "^Quillbern: stopped$" "$work/log" || fail "no clean shutdown line"
}

# expect_dock_panels FRAME...: waits, at most 10 s, until exactly these dock panels show.
expect_dock_panels() {
  local want have deadline=$((SECONDS + 10))
  want=$(printf '%s\n' "$@" | sed '/^$/d' | sort)
  until have=$(dock_panels); [[ "$have" == "$want" ]]; do
    ((SECONDS < deadline)) || fail "dock panels: want [$(echo $want)], have [$(echo $have)]"
    sleep 0.05
  done
}

# expect_started_docks_hidden COUNT: the program shows its docks as it makes them and hides
# them once the pointer has been away for a moment. Waits, at most 10 s, until it has made
# COUNT dock panels and none shows: none showing alone holds before they are made.
expect_started_docks_hidden() {
  wait_for 10 docks_made "$1" || fail "the program did not make $1 dock panels"
  expect_dock_panels
}

# The status icon: ours, embedded in the tray, which Qt marks with KDE's override type.
status_icon() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _KDE_NET_WM_WINDOW_TYPE_OVERRIDE && echo "$id"
  done
}
# Open menus: ours, shown, placed by the program itself, neither a dock nor the icon.
menus() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q "Override Redirect State: yes" || continue
    xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q "_NET_WM_WINDOW_TYPE_DOCK\|_KDE_NET_WM_WINDOW_TYPE_OVERRIDE" \
      || echo "$id"
  done
}
named() { xdotool search --all --onlyvisible --pid "$program_pid" --name "^$1\$" 2>/dev/null; }
export -f status_icon menus named
export program_pid

# click_icon BUTTON: clicks the middle of the status icon.
click_icon() {
  local X Y WIDTH HEIGHT SCREEN WINDOW icon=
  wait_for 10 bash -c '[ -n "$(status_icon)" ]' || fail "no status icon to click"
  icon=$(status_icon || true)
  eval "$(xdotool getwindowgeometry --shell "${icon%%$'\n'*}" 2>/dev/null)"
  [[ -n ${X-} ]] || fail "the status icon went away before the click"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click "$1"
}
right_clicks_heard() { grep -c "status item click: right button" "$work/log" || true; }
open_menu() {
  local heard
  heard=$(right_clicks_heard)
  click_icon 3
  wait_for 10 bash -c '[ -n "$(menus)" ]' \
    || fail "the menu did not open (right clicks heard: $(($(right_clicks_heard) - heard)); the keyboard on" \
      "\"$(xdotool getwindowfocus getwindowname 2>/dev/null || true)\", the active window" \
      "\"$(xdotool getactivewindow getwindowname 2>/dev/null || true)\")"
}
# click_menu_row MENU OFFSET: clicks the row OFFSET pixels from the menu's top, or from its
# bottom when negative.
click_menu_row() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  if (($2 < 0)); then Y=$((Y + HEIGHT)); fi
  xdotool mousemove $((X + WIDTH / 2)) $((Y + $2)) click 1
  wait_for 10 bash -c '[ -z "$(menus)" ]' || fail "the menu did not close"
}
