# A new user's Trash tile: a file moved to the Trash turns it full, and emptying the Trash
# turns it empty again.
source "$(dirname "$0")/../support/e2e-session.sh"

export XDG_DATA_HOME="$work/data"
trash="$XDG_DATA_HOME/Trash"
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","items":[{"trash":{"_0":{"id":"22222222-0000-4000-8000-000000000002"}}}],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false}\n' "$(printf '%s' "$docks" | base64 -w0)" > "$settings"

# One tile of 62: the dock is 180 by 104, centred on each monitor's bottom edge.
left_dock="550,962,180,104"
right_dock="1830,962,180,104"

start_headless_desktop
xdotool mousemove 1280 300
start_program
expect_dock_panels "$left_dock" "$right_dock"

# The tile as the left monitor shows it; the pointer stays away, so only the Trash changes it.
tile() { import -window root -crop 180x104+550+962 +repage "$1"; }
differs() { [[ $(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1) != 0 ]]; }
[[ -d "$trash/files" ]] || fail "the Trash folder was not made"
# The dock eases in as it first shows: the empty tile is the picture two looks in a row agree on.
tile "$work/empty.png"
settled() { mv "$work/empty.png" "$work/earlier.png" && tile "$work/empty.png" && ! differs "$work/earlier.png" "$work/empty.png"; }
wait_for 10 settled || fail "the dock's picture does not settle"

# A file moved to the Trash the desktop's way.
echo "draft" > "$work/draft.txt"
gio trash "$work/draft.txt" || fail "gio could not trash the file"
[[ -e "$trash/files/draft.txt" ]] || fail "the file is not in the Trash"
turned_full() { tile "$work/full.png" && differs "$work/empty.png" "$work/full.png"; }
wait_for 10 turned_full || fail "the Trash tile did not turn full"

# Emptied, as a file manager empties it.
rm -rf "$trash/files/"* "$trash/info/"*
turned_empty() { tile "$work/again.png" && ! differs "$work/empty.png" "$work/again.png"; }
wait_for 10 turned_empty || fail "the Trash tile did not turn empty again"

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
