# A new user goes through Settings › General, started while another application holds
# Ctrl+Super+S: "Search apps" shows struck through; the reveal delay moved by keyboard stores
# exactly 0.6; Ctrl+Alt+Super+P recorded for "Peek at all docks" shows the hidden docks while
# held, and "Reset all shortcuts", confirmed, brings back Ctrl+Super+P; auto-hide off shows
# every dock and drops the delay rows; "Open at login" writes the autostart entry, and
# deleting the entry turns the switch off; hiding the desktop's dock falls back to off with
# its reason under openbox; a failed automation URL shows until "Dismiss"; global shortcuts
# off stop Ctrl+Super+1; "Deutsch", then "Relaunch Now", brings Quillbern back as a new
# process in German with the same docks, which keeps every choice. Controls are found by their
# accessible names through AT-SPI; dock panels are read through X11. With
# QUILLBERN_E2E_SCREENSHOTS set, screenshots are kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi() { /usr/bin/python3 "$(dirname "$0")/../support/atspi.py" "$@"; }
shots=${QUILLBERN_E2E_SCREENSHOTS:-}
shoot() { [[ -z $shots ]] || import -window root "$shots/general-$1.png"; }
autostart="$XDG_CONFIG_HOME/autostart/quillbern.desktop"

# expect_panel_count N: waits, at most 10 s, until N dock panels show.
expect_panel_count() {
  local deadline=$((SECONDS + 10))
  until [[ $(dock_panels | sed '/^$/d' | wc -l) -eq $1 ]]; do
    ((SECONDS < deadline)) || fail "want $1 dock panels, have [$(echo $(dock_panels))]"
    sleep 0.05
  done
}
# The dock panels once they stand still.
settled_panels() {
  local before now
  now=$(dock_panels)
  until [[ $now == "${before-}" ]]; do
    before=$now
    sleep 0.3
    now=$(dock_panels)
  done
  echo "$now"
}
stored() { wait_for 10 grep -Eq "$1" "$settings"; }
# The newest running copy of the program in this walk's settings: other walks run theirs
# at the same time.
running_pid() {
  local pid found=
  for pid in $(pgrep -x "$(basename "$program")"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "XDG_CONFIG_HOME=$XDG_CONFIG_HOME" && found=$pid
  done
  [[ -n $found ]] && echo "$found"
}

start_headless_desktop --accessibility
# X keycode 39 is S; 68 is Control (4) with Super (Mod4, 64).
"$test_client" --grab-key 39,68 --geometry 200x100+300+300 >"$work/client" &
desktop_pids+=($!)
wait_for 10 grep -q '^grabbed$' "$work/client" || fail "the other application could not grab Ctrl+Super+S"
xdotool mousemove 640 500
printf '{"hasCompletedOnboarding": true}\n' >"$settings"
start_program
expect_panel_count 0  # the new user's dock hides once the pointer is away

"$program" >/dev/null 2>&1 || fail "the second start failed"
wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "Settings did not open"
atspi wait "Auto-hide Quillbern" "check box" checked || fail "General does not show auto-hide on"
shoot opened

# The chord another application holds is struck through, and the card says why.
[[ $(atspi description "Search apps" "push button") == *"could not be registered"* ]] \
  || fail "Search apps is not struck through: $(atspi description "Search apps" "push button")"
atspi find "A struck-through shortcut could not be registered at all — click it and record another." label >/dev/null \
  || fail "no caption about struck-through shortcuts"
[[ $(atspi description "All open apps" "push button") != *"could not"* ]] || fail "All open apps is struck through"

# The delay slider, by keyboard: two steps from 0.36 store exactly 0.6.
atspi focus "Reveal delay" slider || fail "the delay slider did not take the keyboard"
xdotool key Right Right
stored '"dockRevealDelay": *0\.6[,}[:space:]]' || fail "0.6 was not stored exactly"
[[ $(atspi value "Reveal delay" slider) == 0.6 ]] || fail "the slider says $(atspi value "Reveal delay" slider)"

# Ctrl+Alt+Super+P recorded for peeking: held, it shows the hidden docks.
atspi press "Peek at all docks" "push button" || fail "no recorder for Peek at all docks"
[[ $(atspi description "Peek at all docks" "push button") == "Press the keys…" ]] || fail "the recorder is not listening"
xdotool key ctrl+alt+super+p
stored '"hotkeyOverrides.v1"' || fail "the new chord of peek was not stored"
xdotool keydown ctrl+alt+super+p
expect_panel_count 2
xdotool keyup p keyup ctrl+alt+super
expect_panel_count 0
shoot peek-recorded

# Reset all, confirmed: Ctrl+Super+P peeks again.
atspi press "Reset all shortcuts" "push button" || fail "no Reset all shortcuts"
atspi press "Reset the 1 shortcut you recorded" "push button" || fail "no confirmation with the count"
wait_for 10 bash -c "! grep -q hotkeyOverrides.v1 '$settings'" || fail "the recorded chord was not removed"
atspi gone "Reset all shortcuts" "push button" || fail "Reset all shortcuts still offered"
xdotool keydown ctrl+super+p
expect_panel_count 2
xdotool keyup p keyup ctrl+super
expect_panel_count 0

# Auto-hide off: every dock shows, and the delay and tempo rows leave.
atspi press "Auto-hide Quillbern" "check box" || fail "no auto-hide switch"
expect_panel_count 2
atspi gone "Reveal delay" slider || fail "the delay row stayed"
atspi gone "Peek at all docks" "push button" || fail "the peek row stayed"
shoot auto-hide-off
atspi press "Auto-hide Quillbern" "check box"
atspi wait "Reveal delay" slider enabled || fail "the delay row did not come back"
expect_panel_count 0

# Open at login writes the autostart entry; deleting it turns the switch off.
atspi press "Open at login" "check box" || fail "no login switch"
wait_for 10 test -f "$autostart" || fail "no autostart entry"
atspi wait "Open at login" "check box" checked || fail "the login switch did not stay on"
rm "$autostart"
atspi --timeout 3 wait "Open at login" "check box" '!checked' || fail "the switch stayed on without the entry"

# Hiding the desktop's dock under openbox: off again, with the reason.
atspi press "Hide the desktop's dock" "check box" || fail "no switch for the desktop's dock"
atspi wait "Hide the desktop's dock" "check box" '!checked' || fail "the switch stayed on"
atspi find "No desktop dock to hide on this desktop: Quillbern hides the GNOME dock (Dash to Dock or Ubuntu Dock), which is not installed here." label >/dev/null \
  || fail "the reason is not shown"
shoot desktop-dock

# A failed automation URL shows here until it is dismissed.
"$program" 'quillbern://focus/bogus' || fail "the URL was not handed over"
atspi find "Quillbern did not recognise this automation URL: quillbern://focus/bogus" label >/dev/null \
  || fail "the failure is not shown"
shoot failure
atspi press Dismiss "push button" || fail "no Dismiss"
atspi gone "Quillbern did not recognise this automation URL: quillbern://focus/bogus" label || fail "the failure stayed"

# Global shortcuts off: Ctrl+Super+1 no longer holds the first dock out.
atspi press "Global shortcuts" "check box" || fail "no switch for global shortcuts"
atspi wait "Global shortcuts" "check box" '!checked' || fail "shortcuts stayed on"
atspi gone "Search apps" "push button" || fail "the recorders stayed"
xdotool key ctrl+super+1
holds_for 2 bash -c "$(declare -f dock_panels); program_pid=$program_pid; [ \$(dock_panels | sed '/^\$/d' | wc -l) -eq 0 ]" \
  || fail "Ctrl+Super+1 still showed the dock"

# Docks shown, then "Deutsch" and "Relaunch Now": a new copy in German, the same docks.
atspi press "Auto-hide Quillbern" "check box"
expect_panel_count 2
frames=$(settled_panels)
atspi press Language "combo box" || fail "no language picker"
atspi wait Deutsch "list item" showing || fail "the language list did not open"
xdotool key Down Down Down Return
atspi find Deutsch "combo box" >/dev/null || fail "the picker does not show Deutsch"
stored '"quillbernLanguage": *"de"' || fail "the language was not stored"
shoot relaunch-offered
old_pid=$program_pid
atspi press "Relaunch Now" "push button" || fail "no Relaunch Now"
wait_for 10 sh -c "! kill -0 $old_pid" || fail "the first copy did not quit"
wait "$old_pid" || fail "the first copy ended with status $?"
wait_for 10 running_pid >/dev/null || fail "no new copy started"
program_pid=$(running_pid)
[[ $program_pid != "$old_pid" ]] || fail "the same process runs"
# Found as a process as soon as it runs, the new copy says its language a moment later.
wait_for 10 grep -q "language chosen in Settings (de)" "$work/log" || fail "the new copy does not speak the language chosen"
if tr '\0' '\n' <"/proc/$program_pid/environ" | grep -qx LANGUAGE=de; then
  fail "the relaunch handed Quillbern's language to everything the new copy starts"
fi
expect_dock_panels $frames

# The new copy speaks German and kept every choice.
german() { LC_ALL=C.UTF-8 LANGUAGE=de TEXTDOMAINDIR="$(dirname "$program")/locale" gettext -d quillbern "$1"; }
[[ $(german "Auto-hide Quillbern") != "Auto-hide Quillbern" ]] || fail "the build holds no German catalogue"
"$program" >/dev/null 2>&1 || fail "the second start failed"
atspi wait "$(german "Auto-hide Quillbern")" "check box" '!checked' || fail "auto-hide came back on, or is not in German"
atspi wait "$(german "Global shortcuts")" "check box" '!checked' || fail "global shortcuts came back on, or are not in German"
atspi find Deutsch "combo box" >/dev/null || fail "the language was not kept"
atspi gone "$(german "Relaunch Now")" "push button" || fail "a relaunch is still offered"
grep -Eq '"dockRevealDelay": *0\.6[,}[:space:]]' "$settings" || fail "the delay was not kept"
shoot relaunched

kill -TERM "$program_pid"
wait_for 10 sh -c "! kill -0 $program_pid" || fail "the new copy did not quit"
program_pid=
echo "PASS"
