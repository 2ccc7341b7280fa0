# Applications installed while the program runs show their icons on their tiles within a
# second or two: one installed into the user's folders whose window opens then; a pinned one
# installed into a system folder whose icons folder is made by the install, its icon landing
# a second after its entry; and one whose window opened before its entry and icon came.
source "$(dirname "$0")/../support/e2e-session.sh"

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","items":[$(app org.example.Pinned Pinned)],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":true,"revealMode":"hover","alignment":"center"}]
JSON
)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false, "hasCompletedOnboarding": true}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" >"$settings"

# The user's folders, hicolor's 48x48/apps among them, are there from the start; the system
# folder holds no icons folder yet.
user=$work/data
system=$work/system
export XDG_DATA_HOME=$user XDG_DATA_DIRS="$system:/usr/share"
mkdir -p "$user/applications" "$user/icons/hicolor/48x48/apps" "$system/applications"

# entry DATA ID CLASS: the desktop entry of a test client of that class, whose icon is ID.
entry() {
  cat >"$1/applications/$2.desktop.part" <<DESKTOP
[Desktop Entry]
Type=Application
Name=$2
Exec=$test_client --class $3 --title $2
Icon=$2
StartupWMClass=$3
DESKTOP
  mv "$1/applications/$2.desktop.part" "$1/applications/$2.desktop"
}
# icon FOLDER ID COLOUR: a square of that colour, as an install puts it, through a file of another name.
icon() {
  mkdir -p "$1"
  convert -size 48x48 "xc:$3" "png:$1/.$2.png"
  mv "$1/.$2.png" "$1/$2.png"
}
# dock_shows COLOUR: whether the docks show a good part of a tile's icon in that colour.
dock_shows() {
  local id count=0
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || continue
    count=$((count + $(import -window "$id" -depth 8 txt:- 2>/dev/null | grep -ci "$1")))
  done
  ((count >= 500))
}
shoot() { [[ -n ${QUILLBERN_E2E_SCREENSHOTS:-} ]] && import -window root "$QUILLBERN_E2E_SCREENSHOTS/installed-$1.png"; return 0; }
client() {
  "$test_client" --class "$1" --title "$1" --geometry 300x200+300+300 >/dev/null &
  desktop_pids+=($!)
  wait_for 10 xdotool search --onlyvisible --name "^$1\$" || fail "no window of $1"
}

start_headless_desktop
start_program
docks_shown() { [[ -n $(dock_panels) ]]; }
wait_for 10 docks_shown || fail "no dock"

# Installed into the user's folders, then started.
icon "$user/icons/hicolor/48x48/apps" org.example.Fresh '#ff00ff'
entry "$user" org.example.Fresh fresh
client fresh
wait_for 3 dock_shows '#FF00FF' || { shoot fresh; fail "the window's tile shows no icon of its installed entry"; }

# The pinned application, installed into the system's folders: its icon lands after its entry,
# in a theme folder the install makes.
entry "$system" org.example.Pinned pinned
sleep 1
icon "$system/icons/hicolor/64x64/apps" org.example.Pinned '#00ff00'
wait_for 3 dock_shows '#00FF00' || { shoot pinned; fail "the pinned tile shows no icon of its installed entry"; }

# A window opens before its application's entry and icon are installed: its own picture, then the icon.
client early
icon "$user/icons/hicolor/48x48/apps" org.example.Early '#ffff00'
entry "$user" org.example.Early early
wait_for 3 dock_shows '#FFFF00' || { shoot early; fail "the window's tile shows no icon of the entry installed after it opened"; }
shoot done

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
