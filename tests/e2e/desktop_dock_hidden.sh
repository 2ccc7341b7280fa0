# Hiding the desktop's dock: the GNOME dock extension's settings (a schema of the tests' own,
# kept in a key file) carry the hidden values while the program runs, get the user's values
# back when it quits, and, after the program was killed, when the next launch finds hiding off.
source "$(dirname "$0")/../support/e2e-session.sh"

schemas="$work/schemas"
mkdir -p "$schemas"
cp "$(dirname "$0")/../support/quillbern-test.gschema.xml" "$schemas/"
glib-compile-schemas "$schemas"
export GSETTINGS_SCHEMA_DIR="$schemas" GSETTINGS_BACKEND=keyfile
keyfile="$XDG_CONFIG_HOME/glib-2.0/settings/keyfile"

# The user's own values: always shown, half a second before it shows.
mkdir -p "$(dirname "$keyfile")"
printf '[org/gnome/shell/extensions/dash-to-dock]\ndock-fixed=true\nshow-delay=0.5\n' > "$keyfile"
users_values=$'dock-fixed=true\nshow-delay=0.5'
hidden_values=$'animation-time=0.0\ndock-fixed=false\nshow-delay=999.75'

# The values the user (or we) set, one "key=value" a line, sorted.
dock_values() { grep -v '^\[' "$keyfile" | sed '/^$/d' | sort; }
expect_dock_values() {
  [[ "$(dock_values)" == "$1" ]] || fail "dock settings: want [$(echo $1)], have [$(echo $(dock_values))]"
}
hiding() { sed -i "s/\"hideNativeDock\": [a-z]*/\"hideNativeDock\": $1/" "$settings"; }

printf '{"hideNativeDock": true}\n' > "$settings"
start_headless_desktop

# Hidden while it runs, the user's values back when it quits.
start_program
expect_dock_values "$hidden_values"
grep -q '"nativeDockOriginals"' "$settings" || fail "the user's values were not saved"
kill -TERM "$program_pid"
expect_clean_exit
expect_dock_values "$users_values"
! grep -q '"nativeDockOriginals"' "$settings" || fail "the saved values outlived their restore"

# Killed while hiding: the dock stays hidden until a launch puts it right.
start_program
expect_dock_values "$hidden_values"
kill -KILL "$program_pid"
wait "$program_pid" || true
program_pid=
expect_dock_values "$hidden_values"
hiding false
start_program
expect_dock_values "$users_values"
! grep -q '"nativeDockOriginals"' "$settings" || fail "the saved values outlived their restore"
kill -TERM "$program_pid"
expect_clean_exit
expect_dock_values "$users_values"
echo "PASS"
