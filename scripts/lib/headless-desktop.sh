# A throw-away X desktop: Xvfb at 2560x1080 presented as two monitors side by side,
# a window manager (openbox unless another is asked for) and, on request, a tray and a
# compositing manager. Sourced by scripts/run, the end-to-end tests and the X11 integration
# tests; everything it starts is stopped by stop_headless_desktop.

desktop_pids=()
desktop_runtime=
# The shell that started the desktop. A background job killed before it runs its command
# is still a copy of this shell and runs its EXIT trap: only the owner may stop the desktop.
desktop_owner=

# xdotool's search walks the window tree and ends at the first X error, answering nothing,
# when a window goes meanwhile, as windows of a program under test come and go: such a
# search is asked again. Every other command goes to xdotool as it is.
xdotool() {
  [[ ${1-} == search ]] || { command xdotool "$@"; return; }
  local attempt errors status
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    status=0
    { errors=$(command xdotool "$@" 2>&1 >&3) || status=$?; } 3>&1
    [[ $errors == *"X Error of failed request"* ]] && continue
    [[ -z $errors ]] || printf '%s\n' "$errors" >&2
    return "$status"
  done
  echo "xdotool $*: an X error at each of $attempt tries" >&2
  return 1
}
export -f xdotool

# wait_for SECONDS COMMAND...: retries COMMAND until it succeeds or time runs out.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

# wait_for_managed_window: openbox announces itself before it is done starting, and a
# window mapped in between is never managed, so never shown. Ready is when a window of
# ours is shown; a probe that got lost is replaced.
wait_for_managed_window() {
  local attempt pid
  for attempt in 1 2 3 4 5; do
    xclock -title quillbern-wm-probe -geometry 40x40+0+0 >/dev/null 2>&1 &
    pid=$!
    if wait_for 5 xdotool search --onlyvisible --name '^quillbern-wm-probe$'; then
      kill "$pid"; wait "$pid" 2>/dev/null
      return 0
    fi
    kill "$pid"; wait "$pid" 2>/dev/null
  done
  return 1
}

# start_accessibility_bus: a session bus of the desktop's own, on which the accessibility
# bus starts when first asked for, and Qt programs that always offer their controls to it,
# so tests/support/atspi.py finds them as a screen reader does.
start_accessibility_bus() {
  local address="$desktop_runtime/session-bus-address"
  dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$address" >/dev/null 2>&1 &
  desktop_pids+=($!)
  wait_for 10 test -s "$address" || { echo "the session bus did not start" >&2; return 1; }
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$address")
  export DBUS_SESSION_BUS_ADDRESS
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# start_window_manager NAME: starts it with a home of its own in the desktop's runtime
# folder, so that what it writes there (fluxbox its settings, xfwm4 through xfconf on a
# session bus of the desktop's own) never touches the user's.
start_window_manager() {
  local home="$desktop_runtime/wm-home"
  mkdir -p "$home"
  # GTK's window managers would start an accessibility bus that outlives them.
  local -a run=(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$home" NO_AT_BRIDGE=1 GTK_A11Y=none)
  case $1 in
    openbox) "${run[@]}" openbox --sm-disable >/dev/null 2>&1 & ;;
    icewm) "${run[@]}" icewm >/dev/null 2>&1 & ;;
    fluxbox)
      # Without a wallpaper of its own to set, and so without a message that it cannot.
      mkdir -p "$home/.fluxbox"
      echo "background: none" >"$home/.fluxbox/overlay"
      "${run[@]}" fluxbox >/dev/null 2>&1 &
      ;;
    metacity) "${run[@]}" metacity >/dev/null 2>&1 & ;;
    xfwm4)
      # It ends without its settings service, which it reaches on a session bus.
      local address="$desktop_runtime/wm-bus-address"
      "${run[@]}" dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$address" >/dev/null 2>&1 &
      desktop_pids+=($!)
      wait_for 10 test -s "$address" || { echo "the window manager's session bus did not start" >&2; return 1; }
      "${run[@]}" DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$address")" xfwm4 --compositor=off >/dev/null 2>&1 &
      ;;
    *) echo "start_headless_desktop: unknown window manager $1" >&2; return 2 ;;
  esac
  desktop_pids+=($!)
}

# start_headless_desktop [--tray] [--compositor] [--accessibility] [--tcp] [--wm NAME]: exports
# DISPLAY for the new server. NAME is openbox (the default), icewm, fluxbox, xfwm4 or metacity.
# --tcp lets clients connect over TCP too, as a remote machine's would, whose process the
# server cannot tell.
start_headless_desktop() {
  local fd display option tray=false compositor=false accessibility=false wm=openbox tcp=-nolisten
  while (($#)); do
    option=$1; shift
    case $option in
      --tray) tray=true ;;
      --compositor) compositor=true ;;
      --accessibility) accessibility=true ;;
      --tcp) tcp=-listen ;;
      --wm) wm=${1:-}; shift ;;
      *) echo "start_headless_desktop: unknown option $option" >&2; return 2 ;;
    esac
  done
  desktop_owner=$BASHPID
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 2560x1080x24 "$tcp" tcp -noreset -dpi 96 >/dev/null 2>&1 &
  desktop_pids+=($!)
  read -r -t 10 -u "$fd" display || { echo "Xvfb did not start" >&2; return 1; }
  exec {fd}<&-
  export DISPLAY=":$display"
  # Without -noreset the monitors would vanish when xrandr disconnects.
  xrandr --setmonitor Q-LEFT 1280/338x1080/285+0+0 screen >/dev/null
  xrandr --setmonitor Q-RIGHT 1280/338x1080/285+1280+0 none >/dev/null

  xsetroot -solid '#3b4252'
  # A session of its own: a program started here meets no Quillbern of the user's own
  # session, neither through the runtime directory nor on the session bus.
  desktop_runtime=$(mktemp -d /tmp/quillbern-runtime.XXXXXX)
  export XDG_RUNTIME_DIR=$desktop_runtime
  unset DBUS_SESSION_BUS_ADDRESS
  if $accessibility; then start_accessibility_bus || return 1; fi

  start_window_manager "$wm" || return
  wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
    || { echo "$wm did not start" >&2; return 1; }
  wait_for_managed_window || { echo "$wm did not manage a window" >&2; return 1; }

  if $compositor; then
    # Translucent panels blend only with a compositing manager.
    xcompmgr >/dev/null 2>&1 &
    desktop_pids+=($!)
    wait_for 10 xdotool search --name '^xcompmgr$' \
      || { echo "xcompmgr did not start" >&2; return 1; }
  fi

  if $tray; then
    trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
      --transparent false --tint 0x303040 --monitor primary >/dev/null 2>&1 &
    desktop_pids+=($!)
    wait_for 10 sh -c 'xprop -root | grep -q "_NET_SYSTEM_TRAY_S0\|_NET_CLIENT_LIST"' || true
    wait_for 10 xdotool search --classname trayer \
      || { echo "trayer did not start" >&2; return 1; }
  fi
}

# start_client_windows: a few ordinary windows, on both monitors.
start_client_windows() {
  xterm -title "Terminal" -geometry 90x28+80+120 -e sh -c 'echo "A client window on the left monitor"; exec sleep infinity' &
  desktop_pids+=($!)
  xclock -geometry 220x220+1500+140 &
  desktop_pids+=($!)
  xterm -title "Notes" -geometry 70x20+1700+500 -e sh -c 'echo "A client window on the right monitor"; exec sleep infinity' &
  desktop_pids+=($!)
  wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "Terminal|Notes" | wc -l)" -ge 2 ]'
}

# child_of_this_shell PID: whether PID is still a child of this shell. A child that ended is
# reaped by bash at once, and its number soon goes to another process (they come round
# within a minute on a busy machine): only a child of ours may be signalled.
child_of_this_shell() {
  [[ $(ps -o ppid= -p "$1" 2>/dev/null) -eq $BASHPID ]] 2>/dev/null
}

# end_within SECONDS PID: waits that long at most for a child asked to end, then kills it.
end_within() {
  local deadline=$((SECONDS + $1))
  while child_of_this_shell "$2" && [[ $(ps -o stat= -p "$2" 2>/dev/null) == [^Z]* ]] && ((SECONDS < deadline)); do
    sleep 0.05
  done
  if child_of_this_shell "$2"; then kill -9 "$2" 2>/dev/null || true; fi
  wait "$2" 2>/dev/null || true
}

stop_headless_desktop() {
  local pid
  [[ -z $desktop_owner || $BASHPID == "$desktop_owner" ]] || return 0
  for ((i = ${#desktop_pids[@]} - 1; i >= 0; i--)); do
    pid=${desktop_pids[i]}
    if child_of_this_shell "$pid"; then kill "$pid" 2>/dev/null || true; fi
  done
  # fluxbox at times ignores the request to end.
  for pid in "${desktop_pids[@]}"; do end_within 5 "$pid"; done
  desktop_pids=()
  [[ -n "$desktop_runtime" ]] && rm -rf "$desktop_runtime"
  desktop_runtime=
}
