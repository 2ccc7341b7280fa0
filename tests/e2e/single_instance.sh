# One Quillbern per session: of two starts at the same moment one runs and shows its docks,
# the other hands its URL to it and ends at once with status 0. Twenty pairs on a session
# bus, twenty without one, a few without a bus's address (which start no bus either), and a
# few on a bus that refuses the program its name. Then one instance on a bus, met by a start
# without a bus and by one without a display; arguments that are no URLs, refused with a
# display or without; a start without a display, refused; and the bus ending under the
# instance, which keeps its docks and is still reached.
source "$(dirname "$0")/../support/e2e-session.sh"

# The dock panels of a process, shown or hidden: each dock on each of the two monitors.
dock_windows_of() {
  local id count=0
  for id in $(xdotool search --pid "$1" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DOCK && count=$((count + 1))
  done
  echo "$count"
}
has_one_set_of_docks() { [[ "$(dock_windows_of "$1")" == 2 ]]; }

# pairs NAME COUNT: pairs of starts; the first of each pair is given a URL.
pairs() {
  local name=$1 count=$2 i first second ended running ended_log running_log status
  for ((i = 1; i <= count; i++)); do
    : >"$work/first.log"
    : >"$work/second.log"
    "$program" "quillbern://pair/$i?pair=$i" >>"$work/first.log" 2>&1 &
    first=$!
    "$program" >>"$work/second.log" 2>&1 &
    second=$!
    wait_for 10 sh -c "! kill -0 $first 2>/dev/null || ! kill -0 $second 2>/dev/null" \
      || fail "$name, pair $i: both starts still run after 10 s"
    if kill -0 "$first" 2>/dev/null; then
      ended=$second ended_log=$work/second.log running=$first running_log=$work/first.log
    else
      ended=$first ended_log=$work/first.log running=$second running_log=$work/second.log
    fi
    status=0
    wait "$ended" || status=$?
    [[ $status -eq 0 ]] || { cat "$ended_log" >&2; fail "$name, pair $i: the second start ended with status $status"; }
    grep -q "already running; this start was handed to the running Quillbern" "$ended_log" \
      || { cat "$ended_log" >&2; fail "$name, pair $i: the second start did not hand over"; }
    program_pid=$running
    cp "$running_log" "$work/log"
    wait_for 20 grep -q "^Quillbern: started$" "$running_log" || fail "$name, pair $i: no start line"
    # The URL reaches the one that runs, whichever start it was given to; it means nothing,
    # so the log tells of it, without its query.
    wait_for 10 grep -qF "unrecognised automation URL quillbern://pair/$i?…;" "$running_log" \
      || { cp "$running_log" "$work/log"; fail "$name, pair $i: the URL did not reach the running Quillbern"; }
    wait_for 10 has_one_set_of_docks "$running" || fail "$name, pair $i: not one dock on each monitor"
    kill -0 "$running" || fail "$name, pair $i: the running Quillbern ended"
    kill -TERM "$running"
    status=0
    wait "$running" || status=$?
    program_pid=
    [[ $status -eq 0 ]] || { cp "$running_log" "$work/log"; fail "$name, pair $i: exit status $status"; }
    grep -q "^Quillbern: stopped$" "$running_log" || { cp "$running_log" "$work/log"; fail "$name, pair $i: no clean shutdown"; }
  done
}

start_headless_desktop

# start_bus [CONFIG]: a message bus of the test's own, the session configuration by default.
bus_pid=
start_bus() {
  local config=(--session) address=$work/bus.address
  [[ -n "${1:-}" ]] && config=(--config-file="$1")
  : >"$address"
  dbus-daemon "${config[@]}" --nofork --nopidfile --print-address=1 >"$address" 2>/dev/null &
  bus_pid=$!
  wait_for 10 grep -q . "$address" || fail "dbus-daemon did not start"
  export DBUS_SESSION_BUS_ADDRESS
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$address")
}
stop_bus() {
  kill "$bus_pid"
  wait "$bus_pid" 2>/dev/null || true
}

start_bus
pairs "on a session bus" 20
grep -q "no session message bus" "$work/first.log" "$work/second.log" && fail "the session bus was not used"
stop_bus

export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
pairs "without a session bus" 20
grep -q "no session message bus" "$work/first.log" "$work/second.log" || fail "a session bus was found"

# Without a bus's address, no library starts a bus of its own: the dbus-launch on the PATH
# never runs.
mkdir -p "$work/bin"
printf '#!/bin/sh\ntouch "%s/dbus-launch-ran"\nexit 1\n' "$work" >"$work/bin/dbus-launch"
chmod +x "$work/bin/dbus-launch"
unset DBUS_SESSION_BUS_ADDRESS
PATH="$work/bin:$PATH" pairs "without a bus address" 3
[[ -e "$work/dbus-launch-ran" ]] && fail "dbus-launch was started"

cat >"$work/refusing-bus.conf" <<CONFIG
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=$work</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
    <deny own="org.quillbern.Quillbern"/>
  </policy>
</busconfig>
CONFIG
start_bus "$work/refusing-bus.conf"
pairs "on a bus that refuses the name" 5
grep -q "the session bus refused the name org.quillbern.Quillbern" "$work/first.log" "$work/second.log" \
  || fail "the refused name was not logged"
stop_bus

start_bus
start_program
wait_for 10 has_one_set_of_docks "$program_pid" || fail "no docks on the bus"
on_bus=$DBUS_SESSION_BUS_ADDRESS
# hand_over NAME URL [VARIABLE]: a start without a bus, and without VARIABLE, hands the URL
# to the running instance.
hand_over() {
  local status=0 unset=()
  [[ -n "${3:-}" ]] && unset=(-u "$3")
  DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" env "${unset[@]}" "$program" "$2" >"$work/second.log" 2>&1 \
    || status=$?
  [[ $status -eq 0 ]] || { cat "$work/second.log" >&2; fail "$1: the start ended with status $status"; }
  wait_for 10 grep -q "unrecognised automation URL ${2%%\?*};" "$work/log" || fail "$1: the URL did not arrive"
}
# refused_for_no_display COMMAND...: a start that has no display to run on says so in one
# line and ends with status 1.
refused_for_no_display() {
  local status=0
  "$@" >"$work/refused.out" 2>"$work/refused.err" || status=$?
  [[ $status -eq 1 ]] || { cat "$work/refused.err" >&2; fail "$*: exit status $status, not 1"; }
  [[ $(wc -l <"$work/refused.err") -eq 1 ]] && grep -q "needs an X display" "$work/refused.err" \
    || { cat "$work/refused.err" >&2; fail "$*: not one line saying that it needs an X display"; }
}
hand_over "beside an instance on the bus" "quillbern://no-bus/1"
hand_over "without a display" "quillbern://no-display/1" DISPLAY
refused_for_no_display env -u DISPLAY "$program"
refused_for_no_display env DISPLAY=:4242 "$program"
for argument in --help /etc/hostname -v; do
  for unset in "" "-u DISPLAY"; do
    status=0
    env $unset "$program" "$argument" >"$work/refused.out" 2>"$work/refused.err" || status=$?
    [[ $status -eq 2 ]] || fail "$argument $unset: exit status $status, not 2"
    [[ $(wc -l <"$work/refused.err") -eq 1 ]] && grep -qF 'quillbern [quillbern://…]' "$work/refused.err" \
      || { cat "$work/refused.err" >&2; fail "$argument $unset: not one line saying what Quillbern takes"; }
    grep -qF -- "$argument" "$work/log" && fail "$argument was handed over"
  done
done
stop_bus
wait_for 10 grep -q "the session bus has gone away" "$work/log" || fail "the loss of the bus was not logged"
hand_over "after the bus ended" "quillbern://no-bus/2"
has_one_set_of_docks "$program_pid" || fail "the docks went with the bus"
[[ $(grep -c "the session bus has gone away" "$work/log") -eq 1 ]] || fail "the loss of the bus was not logged once"
export DBUS_SESSION_BUS_ADDRESS=$on_bus
kill -TERM "$program_pid"
expect_clean_exit
# With no Quillbern running, a URL given without a display runs nowhere.
refused_for_no_display env -u DISPLAY "$program" "quillbern://no-display/2"
echo "PASS"
