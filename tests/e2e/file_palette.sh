# A new user's file palette, in a home of its own: Ctrl+Super+O shows Desktop, Documents
# and Downloads; typing part of a name finds a file in a subfolder and Return opens it with
# the desktop's default application for text (a test application that writes down what it
# opens); in Documents, Ctrl+Return on a folder offers the docks and choosing one pins it;
# Return on an executable script hands it to that application as a document and runs
# nothing; Show in File Manager reaches the file manager on the session bus.
source "$(dirname "$0")/../support/e2e-session.sh"

file_manager=$(dirname "$test_client")/quillbern_test_file_manager

# The home: the user's folders, a few files, a subfolder and a script that would leave a
# mark if it ran.
export HOME="$work/home"
mkdir -p "$HOME"/{Desktop,Documents/Projects,Downloads}
cat >"$XDG_CONFIG_HOME/user-dirs.dirs" <<'DIRS'
XDG_DESKTOP_DIR="$HOME/Desktop"
XDG_DOCUMENTS_DIR="$HOME/Documents"
XDG_DOWNLOAD_DIR="$HOME/Downloads"
DIRS
echo "figures" >"$HOME/Documents/Projects/quarterly-figures.txt"
echo "dear" >"$HOME/Documents/letter.txt"
echo "shopping" >"$HOME/Downloads/list.txt"
printf '#!/bin/sh\ntouch "%s"\n' "$work/script-ran" >"$HOME/Documents/deploy.sh"
chmod +x "$HOME/Documents/deploy.sh"

# The test application, default for text.
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/applications"
printf '#!/bin/sh\nfor f in "$@"; do echo "$f" >>"%s"; done\n' "$work/opened" >"$work/record.sh"
chmod +x "$work/record.sh"
cat >"$XDG_DATA_HOME/applications/org.example.Recorder.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Recorder
Exec=$work/record.sh %f
MimeType=text/plain;
ENTRY
printf '[MIME Cache]\ntext/plain=org.example.Recorder.desktop;\n' >"$XDG_DATA_HOME/applications/mimeinfo.cache"
# Scripts are text, but the machine's own editors may claim them by name first.
printf '[Default Applications]\ntext/plain=org.example.Recorder.desktop\napplication/x-shellscript=org.example.Recorder.desktop\n' \
  >"$XDG_CONFIG_HOME/mimeapps.list"

# A user past the walkthrough, whose window would stand among the palette's.
printf '{"hasCompletedOnboarding": true}\n' >"$settings"

# shot NAME [SECONDS]: a screenshot, kept in QUILLBERN_E2E_SCREENSHOTS when it is set, a
# moment after the step (it shows the step; nothing is checked on it).
shot() {
  [[ -z ${QUILLBERN_E2E_SCREENSHOTS:-} ]] && return
  sleep "${2:-0.3}"
  import -window root "$QUILLBERN_E2E_SCREENSHOTS/file_palette-$1.png"
}

# The docks as saved, decoded.
saved_docks() {
  python3 -c 'import base64, json, sys; print(base64.b64decode(json.load(open(sys.argv[1]))["profiles.v1"]["$data"]).decode())' \
    "$settings" 2>/dev/null
}

# The program's shown palette: its first visible window that is no dock.
palette_window() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    if ! xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK; then
      echo "$id"
      return
    fi
  done
}
# Waits, at most 10 s, for the palette to show with the keyboard; sets $palette.
expect_palette() {
  local deadline=$((SECONDS + 10))
  while :; do
    palette=$(palette_window)
    [[ -n "$palette" && $(xdotool getwindowfocus) == "$palette" ]] && return 0
    ((SECONDS < deadline)) || fail "no file palette with the keyboard"
    sleep 0.05
  done
}
expect_no_palette() {
  wait_for 10 sh -c "[ -z \"\$(xdotool search --onlyvisible --pid $program_pid 2>/dev/null | while read -r id; do
    xprop -id \$id _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || echo \$id; done)\" ]" \
    || fail "the palette is still shown"
}
# The palette's height tells how many rows it lists: each row is 46 high, and a folder's
# listing adds its breadcrumb above them.
palette_height() { xwininfo -id "$palette" | awk '/Height:/ {print $NF}'; }
lists_rows() { [[ $(palette_height) -eq $((no_rows + 46 * $1)) ]]; }
taller_than() { [[ $(palette_height) -gt $1 ]]; }
# The menu a palette row opens: the program's window outside window management.
menu_shows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && return 0
  done
  return 1
}
expect_opened() {
  wait_for 10 grep -qxF "$1" "$work/opened" || fail "the test application did not open $1 (opened: $(cat "$work/opened" 2>/dev/null))"
}

start_headless_desktop
# A session bus of the walk's own, where the stand-in file manager answers.
exec {bus_fd}< <(dbus-daemon --session --nofork --print-address=1 --print-pid=1 2>/dev/null)
read -r -t 10 -u "$bus_fd" DBUS_SESSION_BUS_ADDRESS || fail "no session bus"
read -r -t 10 -u "$bus_fd" bus_pid || fail "no session bus"
desktop_pids+=("$bus_pid")
export DBUS_SESSION_BUS_ADDRESS
"$file_manager" >"$work/shown" 2>"$work/file-manager.log" &
desktop_pids+=($!)
wait_for 10 grep -q ready "$work/file-manager.log" || fail "the stand-in file manager did not start"

xterm -title Terminal -geometry 80x24+100+100 -e sleep 120 &
desktop_pids+=($!)
wait_for 10 xdotool search --onlyvisible --name '^Terminal$' || fail "no terminal"
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Terminal$' | head -1)"
xdotool mousemove 640 500
start_program

xdotool key ctrl+super+o
expect_palette
# The top level, listed at once: the user's three folders.
no_rows=$(($(palette_height) - 3 * 46))
shot 1-top-level

# Part of a name in a subfolder: the index finds it, captioned with where it lies.
xdotool type --delay 30 quarterly
wait_for 10 lists_rows 1 || fail "no single result for quarterly (palette height $(palette_height))"
shot 2-search
xdotool key Return
expect_no_palette
expect_opened "$HOME/Documents/Projects/quarterly-figures.txt"

# Documents, then the picker of its subfolder: the docks; the first one pins it.
xdotool key ctrl+super+o
expect_palette
top=$(palette_height)
xdotool key Down Return
wait_for 10 taller_than "$top" || fail "Documents is not listed (palette height $(palette_height))"
xdotool key ctrl+Return
wait_for 10 menu_shows || fail "no menu of docks"
shot 3-docks
xdotool key Down Return
wait_for 10 sh -c "$(declare -f saved_docks); settings='$settings'; saved_docks | grep -q '$HOME/Documents/Projects'" \
  || fail "the folder was not pinned"
shot 4-pinned
# The palette keeps the keyboard once its menu closes.
has_keyboard() { [[ $(xdotool getwindowfocus) == "$palette" ]]; }
wait_for 5 has_keyboard || fail "the palette lost the keyboard after pinning"

# The script, chosen by typing: handed to the text application, never run.
xdotool type --delay 30 deploy
xdotool key Return
expect_no_palette
expect_opened "$HOME/Documents/deploy.sh"
holds_for 1 test ! -e "$work/script-ran" || fail "the script ran"

# Show in File Manager: the file manager on the bus is asked for the file. The top level now
# lists the pinned folder after the user's folders.
xdotool key ctrl+super+o
expect_palette
shot 5-top-level-pinned
xdotool type --delay 30 letter
wait_for 10 lists_rows 1 || fail "no single result for letter (palette height $(palette_height))"
xdotool key ctrl+Return
wait_for 10 menu_shows || fail "no menu of applications"
shot 6-open-with
xdotool key Up Return
expect_no_palette
wait_for 10 grep -qxF "file://$HOME/Documents/letter.txt" "$work/shown" \
  || fail "the file manager was not asked for the letter (asked: $(cat "$work/shown"))"

# The pinned folder's tile on the dock, shown at the bottom edge.
xdotool mousemove 640 1079
shot 7-dock 1.5

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
