# When the X server goes away under the program, the desktop's dock still gets the user's
# own settings back before the program ends, and the log says that the settings were saved.
# The server goes while the program's picture reader draws the docks' pictures and the thread
# that finds them waits for it: the program still ends with status 1, never by a signal (a
# crash leaves 139, and a core where cores are kept), its log's last line saying how it
# ended, and its reader ends with it.
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

# Two docks of 20 applications, each with an icon of its own: an SVG of 5,000 dashed curves,
# which Qt reads in a few hundredths of a second, nearly all of them spent drawing, so the
# reading lasts seconds.
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/applications" "$work/icons"
python3 -c 'print("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1024 1024\">" + "".join(
  "<path d=\"M%d %dq300 -500 600 0t300 300\" fill=\"#%06x\" stroke=\"#000\" stroke-dasharray=\"2 2\"/>"
  % (i * 37 % 1000, i * 91 % 1000, i * 2654435761 % 16777216) for i in range(5000)) + "</svg>")' \
  > "$work/icons/shapes.svg"
app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$1"; }
dock() {  # number edge
  local items= i
  for i in $(seq 1 20); do
    cp "$work/icons/shapes.svg" "$work/icons/app-$1-$i.svg"
    printf '[Desktop Entry]\nType=Application\nName=app-%s-%s\nExec=true\nIcon=%s\n' "$1" "$i" \
      "$work/icons/app-$1-$i.svg" >"$XDG_DATA_HOME/applications/app-$1-$i.desktop"
    items+=",$(app "app-$1-$i")"
  done
  printf '{"id":"11111111-0000-4000-8000-00000000000%s","name":"Dock %s","items":[%s],"edge":"%s",' \
    "$1" "$1" "${items#,}" "$2"
  printf '"display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}'
}
printf '{"hideNativeDock": true, "dockAutoHide": false, "hasCompletedOnboarding": true, "profiles.v1": {"$data": "%s"}}\n' \
  "$(printf '[%s,%s]' "$(dock 1 bottom)" "$(dock 2 top)" | base64 -w0)" > "$settings"

start_headless_desktop
start_program
[[ "$(dock_values)" == "animation-time=0.0 dock-fixed=false show-delay=999.75 " ]] \
  || fail "the desktop's dock is not hidden: $(dock_values)"

# The program's picture reader runs on a processor: it is drawing a picture.
reader=
reading_pictures() {
  local pid
  for pid in $(pgrep -P "$program_pid" -x quillbern-pics); do
    [[ $(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null) == R ]] && reader=$pid && return 0
  done
  return 1
}
wait_for 10 reading_pictures || fail "the icons were not being read"

# The X server is the first thing the desktop started.
kill -KILL "${desktop_pids[0]}"
wait "${desktop_pids[0]}" 2>/dev/null || true
wait_for 10 sh -c "! kill -0 $program_pid" || fail "still running 10 s after the display went away"
status=0
wait "$program_pid" 2>/dev/null || status=$?
program_pid=
((status <= 128)) || fail "ended by signal $((status - 128)) ($(kill -l $((status - 128))))"
((status == 1)) || fail "exit status $status, not 1"
grep -q "the connection to the display is lost; every setting was saved as it changed" "$work/log" \
  || fail "the lost display was not logged"
[[ $(tail -n 1 "$work/log") == "Quillbern: stopped at once: a library it uses ended the program (exit status 1)" ]] \
  || fail "the log does not end with how the program ended"
[[ "$(dock_values)" == "dock-fixed=true show-delay=0.5 " ]] || fail "the user's dock settings are not back: $(dock_values)"
# Ended, whether or not whoever took it over has reaped it yet.
reader_ended() { [[ ! -d /proc/$reader ]] || grep -q '^State:.*Z' "/proc/$reader/status"; }
wait_for 2 reader_ended || fail "the picture reader outlived the program"
! grep -q '"nativeDockOriginals"' "$settings" || fail "the saved values outlived their restore"
echo "PASS"
