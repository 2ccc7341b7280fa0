# When the X server goes away under the program, the desktop's dock still gets the user's
# own settings back before the program ends, and the log says that the settings were saved.
source "$(dirname "$0")/../support/e2e-session.sh"

schemas="$work/schemas"
mkdir -p "$schemas"
cp "$(dirname "$0")/../support/quillbern-test.gschema.xml" "$schemas/"
glib-compile-schemas "$schemas"
export GSETTINGS_SCHEMA_DIR="$schemas" GSETTINGS_BACKEND=keyfile
keyfile="$XDG_CONFIG_HOME/glib-2.0/settings/keyfile"
mkdir -p "$(dirname "$keyfile")"
printf '[org/gnome/shell/extensions/dash-to-dock]\ndock-fixed=true\nshow-delay=0.5\n' > "$keyfile"
dock_values() { grep -v '^\[' "$keyfile" | sed '/^$/d' | sort | tr '\n' ' '; }

printf '{"hideNativeDock": true}\n' > "$settings"
start_headless_desktop
start_program
[[ "$(dock_values)" == "animation-time=0.0 dock-fixed=false show-delay=999.75 " ]] \
  || fail "the desktop's dock is not hidden: $(dock_values)"

# The X server is the first thing the desktop started.
kill -KILL "${desktop_pids[0]}"
wait "${desktop_pids[0]}" 2>/dev/null || true
wait_for 10 sh -c "! kill -0 $program_pid" || fail "still running 10 s after the display went away"
wait "$program_pid" || true
program_pid=
grep -q "the connection to the display is lost; every setting was saved as it changed" "$work/log" \
  || fail "the lost display was not logged"
[[ "$(dock_values)" == "dock-fixed=true show-delay=0.5 " ]] || fail "the user's dock settings are not back: $(dock_values)"
! grep -q '"nativeDockOriginals"' "$settings" || fail "the saved values outlived their restore"
echo "PASS"
