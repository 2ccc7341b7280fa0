# A new user edits a dock in Settings → Docks: the left edge, then another position, move
# its panels at once; the right-hand monitor takes it off the left one; Ctrl+Super+J,
# recorded in its recorder, toggles it, while a chord another dock holds gets the note and
# is not stored; a name typed for it, then a click on another dock, renames only it; the
# folder's row dragged above the terminal's reorders the dock's tiles, and a row's remove
# button, reached by Tab and pressed with Space, removes its tile with the undo banner; a
# restart keeps it all. Controls are found through AT-SPI, panels read back from X11. With
# QUILLBERN_E2E_SCREENSHOTS set, a screenshot of each step is kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi_py=$(cd "$(dirname "$0")/../support" && pwd)/atspi.py
atspi() { /usr/bin/python3 "$atspi_py" "$@"; }
shots=${QUILLBERN_E2E_SCREENSHOTS:-}
shoot() { [[ -z $shots ]] || import -window root "$shots/editor-$1.png"; }

folder="$work/Holiday"
mkdir -p "$folder"
app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
place() { printf '"display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover"'; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","edge":"bottom","alignment":"center",$(place),
  "items":[$(app debian-xterm XTerm),{"location":{"_0":{"id":"22222222-0000-4000-8000-000000000002","name":"Holiday","path":"$folder"}}}]},
 {"id":"33333333-0000-4000-8000-000000000003","name":"Work","edge":"top","alignment":"center",$(place),"items":[]}]
JSON
)
printf '{"hasCompletedOnboarding": true, "profiles.v1": {"$data": "%s"}, "dockAutoHide": false}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" >"$settings"

# The middle of a control AT-SPI finds: "x y".
centre() {
  atspi find "$1" "$2" | awk -F'|' '{split($4, b, ","); print b[1] + int(b[3] / 2), b[2] + int(b[4] / 2)}'
}
top_of() { centre "$1" "$2" | cut -d' ' -f2; }
# Main's panels: every one but Work's, which are wide and stand at the top edge.
main_panels() { dock_panels | awk -F, '!($2 < 100 && $3 > $4)'; }
# main_all CONDITION: Main shows, and each of its panels "x,y,w,h" passes the awk condition.
main_all() {
  local panels
  panels=$(main_panels)
  [[ -n $panels ]] && echo "$panels" | awk -F, "!($1) {bad = 1} END {exit bad}"
}
main_gone() { [[ -z $(main_panels) ]]; }
has_menu() { [[ -n $(menus) ]]; }
settings_open() { [[ -n $(named "Quillbern Settings") ]]; }
has_icon() { [[ -n $(status_icon) ]]; }
wait_main() { wait_for 10 main_all "$1" || fail "$2: [$(echo $(main_panels))]"; }
row_top() { atspi find "$1" "list item" | awk -F'|' '{split($4, b, ","); print b[2]}'; }
folder_above() { (($(row_top Holiday) < $(row_top XTerm))); }
# stores PATTERN: a stored dock matches the pattern. The docks are read whole first: grep -q,
# done at its first match, would leave the decoder writing to a closed pipe, and fail it.
stores() { grep -q "$1" <<<"$(stored)"; }
tiles_reordered() { stores '^Studio|.*|location:Holiday,app:XTerm$'; }
# The stored docks, decoded: "name|edge|alignment|display|chord|items" per dock.
stored() {
  python3 - "$settings" <<'PY'
import base64, json, sys
docks = json.loads(base64.b64decode(json.load(open(sys.argv[1]))["profiles.v1"]["$data"]))
for d in docks:
    items = ",".join(next(iter(i)) + ":" + (i[next(iter(i))]["_0"].get("name") or "") for i in d["items"])
    chord = d.get("chord")
    print("|".join([d["name"], d["edge"], d["alignment"], next(iter(d["display"])),
                    "%s/%s" % (chord["keyCode"], chord["modifiers"]) if chord else "-", items]))
PY
}
open_docks_pane() {
  xdotool mousemove 1900 500
  click_icon 3
  wait_for 10 has_menu || fail "the menu did not open"
  atspi menu "Settings…" || fail "no row Settings… in the tray menu"
  wait_for 10 settings_open || fail "Settings did not open"
  atspi select Docks "list item" || fail "no Docks section"
}
drag() {
  xdotool mousemove "$1" "$2" mousedown 1
  for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove "$1" $(($2 + ($4 - $2) * step / 10))
    sleep 0.05
  done
  xdotool mousemove "$3" "$4" mouseup 1
}

start_headless_desktop --tray --accessibility
start_program
wait_for 10 has_icon || fail "no status icon"
open_docks_pane
atspi wait Main "push button" selected || fail "the first dock is not selected"
atspi find "Dock edge for “Main”" >/dev/null || fail "no editor for Main"
shoot opened

# The left edge, then the top of it: Main's panels stand at the left of each monitor, then
# at its top.
atspi press Left "radio button"
wait_main '$1 % 1280 < 100' "Main is not on the left edges"
before=$(main_panels)
atspi focus Middle "radio button" || fail "no position Middle"
xdotool key Left
wait_main '$2 < 100' "Main did not move to the top of its edge"
[[ $(main_panels) != "$before" ]] || fail "the position changed nothing"
shoot left-top

# The right-hand monitor only.
read -r x y < <(centre "All displays" "combo box") || fail "no display picker"
xdotool mousemove "$x" "$y" click 1
atspi find Q-RIGHT "list item" >/dev/null || fail "the display picker did not open"
xdotool key Down Down Return
wait_main '$1 >= 1280' "Main is not on the right-hand monitor alone"
[[ $(main_panels | wc -l) -eq 1 ]] || fail "Main still stands on two monitors: [$(echo $(main_panels))]"
shoot right-monitor

# Ctrl+Super+J recorded toggles Main; Ctrl+Super+2, Work's, is refused with the note.
read -r x y < <(centre Shortcut "layered pane")
xdotool mousemove "$x" "$y" click 1
atspi find "Press the keys…" >/dev/null || fail "the recorder does not listen"
xdotool key ctrl+super+j
atspi find "Ctrl+Super+J" >/dev/null || fail "Ctrl+Super+J is not shown"
xdotool key ctrl+super+j
wait_for 10 main_gone || fail "Ctrl+Super+J did not hide Main"
xdotool key ctrl+super+j
wait_main '$1 >= 1280' "Ctrl+Super+J did not show Main again"
xdotool mousemove "$x" "$y" click 1
atspi find "Press the keys…" >/dev/null || fail "the recorder does not listen"
xdotool key ctrl+super+2
atspi find "Ctrl+Super+2 is already Quillbern's “Work”." label >/dev/null || fail "no note for a taken chord"
shoot taken-chord
wait_for 10 stores "^Main|left|leading|display|" || fail "Main's placement is not stored: $(stored)"

# A name typed for Main, then a click on Work's row: Main alone is renamed.
atspi focus "Dock name" text || fail "no name field"
xdotool key ctrl+a
xdotool type Studio
read -r x y < <(centre Work "push button")
xdotool mousemove "$x" "$y" click 1
atspi wait Work "push button" selected || fail "Work is not selected"
atspi find Studio "push button" >/dev/null || fail "Main was not renamed"
atspi find "Dock edge for “Work”" >/dev/null || fail "the editor does not show Work"
read -r x y < <(centre Studio "push button")
xdotool mousemove "$x" "$y" click 1
atspi wait Studio "push button" selected || fail "Studio is not selected"

# The folder's row dragged above the terminal's, once the page is scrolled to its end, where
# the rows stand still: its scroll bar, the window's first without a name, at its maximum.
read -r x y < <(centre "Dock edge for “Studio”" "")
xdotool mousemove "$x" "$y" click --repeat 15 --delay 20 5
atspi at-end "" "scroll bar" || fail "the page did not scroll to its end"
read -r fx fy < <(centre Holiday "list item")
read -r tx ty < <(centre XTerm "list item")
drag "$fx" "$fy" "$tx" "$((ty - 8))"
wait_for 10 folder_above || fail "the folder's row did not move above the terminal's"
wait_for 10 tiles_reordered || fail "the tiles were not reordered: $(stored)"
shoot reordered

# The second row's remove button, reached by Tab from the apps card's search field past the
# first row's, pressed with Space.
atspi focus "Search for an app" text || fail "no search field"
xdotool key Tab Tab space
shoot removed
atspi find "Something was removed." label >/dev/null || fail "no undo banner"
atspi gone XTerm "list item" || fail "the terminal's row stays"

kill -TERM "$program_pid"
expect_clean_exit
kept=$(stored)
[[ ${kept%%$'\n'*} == "Studio|left|leading|display|"*"|location:Holiday" ]] || fail "not kept: $kept"
stores "^Work|top|center|all|-|$" || fail "Work changed: $(stored)"
start_program
open_docks_pane
atspi wait Studio "push button" selected || fail "the renamed dock is not there after a restart"
atspi find "Ctrl+Super+J" >/dev/null || fail "the recorded chord is not kept"
wait_main '$1 >= 1280 && $2 < 100' "Main's place is not kept"
shoot restarted

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
