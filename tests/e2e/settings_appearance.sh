# A new user changes the docks' look in Settings › Appearance, on a desktop with a
# compositing manager: each press of Right on "Icon size" grows every dock panel at once,
# while the slider moves; "Show names under icons" makes the panels taller; another
# background material changes the bar; "Reset appearance" puts every panel back where it
# started; and a tile size chosen there is still in force after a restart. Controls are
# found by their accessible names through AT-SPI, as a screen reader finds them; the panels'
# frames are read through X11. With QUILLBERN_E2E_SCREENSHOTS set, screenshots are kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi() { /usr/bin/python3 "$(dirname "$0")/../support/atspi.py" "$@"; }
shots=${QUILLBERN_E2E_SCREENSHOTS:-}
shoot() { [[ -z $shots ]] || import -window root "$shots/appearance-$1.png"; }

app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }
docks=$(cat <<JSON
[{"id":"11111111-0000-4000-8000-000000000001","name":"Main","items":[$(app debian-xterm XTerm),$(app debian-uxterm UXTerm),$(app vim Vim),$(app openbox Openbox)],
  "edge":"bottom","display":{"all":{}},"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}]
JSON
)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false, "hasCompletedOnboarding": true}\n' \
  "$(printf '%s' "$docks" | base64 -w0)" >"$settings"

# A second start without arguments opens the running one's Settings.
open_settings() {
  "$program" >/dev/null 2>&1 || fail "the second start failed"
  wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "Settings did not open"
  atspi select Appearance "list item" || fail "no Appearance section"
  atspi wait "Icon size" slider enabled || fail "no Icon size slider"
}
# field N FRAME: the Nth number of "x,y,width,height".
field() { cut -d, -f"$1" <<<"$2"; }
# grew BEFORE AFTER AXES: each panel of AFTER is larger than its panel in BEFORE along the
# named axes (3 width, 4 height) and no smaller along the others.
grew() {
  local i axis before after
  mapfile -t before <<<"$1"
  mapfile -t after <<<"$2"
  ((${#before[@]} == ${#after[@]})) || return 1
  for i in "${!before[@]}"; do
    for axis in 3 4; do
      if [[ " $3 " == *" $axis "* ]]; then
        (($(field $axis "${after[i]}") > $(field $axis "${before[i]}"))) || return 1
      else
        (($(field $axis "${after[i]}") >= $(field $axis "${before[i]}"))) || return 1
      fi
    done
  done
}
# grown_from FRAMES AXES: waits until every dock panel has grown from FRAMES along AXES and
# stands still, and prints the panels.
grown_from() {
  local have settled deadline=$((SECONDS + 10))
  while :; do
    have=$(dock_panels)
    if grew "$1" "$have" "$2"; then
      sleep 0.2
      settled=$(dock_panels)
      [[ $settled == "$have" ]] && break
    fi
    ((SECONDS < deadline)) || fail "the dock panels did not grow along $2: [$(echo $1)] → [$(echo $have)]"
    sleep 0.05
  done
  echo "$have"
}
# The bar of the left monitor's panel in a screenshot.
bar_picture() {
  import -window root -crop "$(field 3 "$1")x$(field 4 "$1")+$(field 1 "$1")+$(field 2 "$1")" "$2"
}
# settled_bar FRAME FILE: the bar's picture once two looks in a row agree (the compositor
# draws the panel's last frame in its own time).
settled_bar() {
  local deadline=$((SECONDS + 10))
  bar_picture "$1" "$2"
  until sleep 0.1; bar_picture "$1" "$work/again.png"
    [[ $(compare -metric AE "$2" "$work/again.png" null: 2>&1 || true) == 0 ]]; do
    ((SECONDS < deadline)) || fail "the bar did not stand still"
    mv "$work/again.png" "$2"
  done
}
# Pixels that differ between the bar's two pictures.
bars_differing() { compare -metric AE -fuzz 2% "$work/ultra-thin.png" "$work/opaque.png" null: 2>&1 || true; }

start_headless_desktop --compositor --accessibility
start_program
wait_for 10 bash -c "$(declare -f dock_panels); [ \$(dock_panels | wc -l) -eq 2 ]" || fail "no docks: $(dock_panels)"
first=$(dock_panels)
open_settings
shoot opened

# Right on "Icon size": every panel grows at each step, as the slider moves.
atspi focus "Icon size" slider || fail "the slider did not take the keyboard"
frames=$first
for size in 64 66 68; do
  xdotool key Right
  grown=$(grown_from "$frames" "3 4")
  [[ $(atspi value "Icon size" slider) == "$size" ]] || fail "the slider says $(atspi value "Icon size" slider), not $size"
  atspi find "$size pt" label >/dev/null || fail "no readout $size pt"
  frames=$grown
done
shoot icon-size-68

# Names under the icons make the panels taller.
atspi press "Show names under icons" "check box" || fail "no names switch"
atspi wait "Show names under icons" "check box" checked || fail "the names switch did not turn on"
named_frames=$(grown_from "$frames" "4")
shoot names

# Another material changes the bar itself.
left=$(head -n 1 <<<"$named_frames")
settled_bar "$left" "$work/ultra-thin.png"
# The picker's list opens; the keyboard chooses its last entry.
atspi press Background "combo box" || fail "no Background picker"
atspi wait Opaque "list item" showing || fail "the Background picker did not open"
xdotool key End Return
atspi find Opaque "combo box" >/dev/null || fail "the Background picker does not show Opaque"
wait_for 10 grep -q '"appearanceMaterial": *"opaque"' "$settings" || fail "Opaque was not stored"
# The compositor shows the new material in its own time: the bar is looked at until it does.
deadline=$((SECONDS + 10))
until bar_picture "$left" "$work/opaque.png"; differing=$(bars_differing); ((${differing%%.*} > 500)); do
  ((SECONDS < deadline)) || fail "the bar looks the same in both materials ($differing pixels differ)"
  sleep 0.1
done
shoot opaque

# Reset: every panel goes back to its first frame.
atspi press "Reset appearance" "push button" || fail "no reset button"
expect_dock_panels $first
[[ $(atspi value "Icon size" slider) == 62 ]] || fail "the slider was not reset"
atspi wait "Show names under icons" "check box" '!checked' || fail "the names switch was not reset"
shoot reset

# A tile size chosen here is in force after a restart.
atspi focus "Icon size" slider || fail "the slider did not take the keyboard"
xdotool key Right
grown=$(grown_from "$first" "3 4")
kill -TERM "$program_pid"
expect_clean_exit
grep -q '"appearanceTileSize": *64' "$settings" || fail "the tile size was not stored"
start_program
expect_dock_panels $grown
shoot restarted

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
