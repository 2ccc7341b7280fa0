# A desktop in another language (LANGUAGE, the script's third argument: de, ja): Quillbern
# speaks it in the shortcut sheet, down to the chords' key names, and in the tray menu,
# whose "Settings…" row opens Settings on its eight sections. Texts are found through AT-SPI,
# as a screen reader reads them, in the words of the build's catalogue of the language. With
# QUILLBERN_E2E_SCREENSHOTS set, screenshots are kept there.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi() { /usr/bin/python3 "$(dirname "$0")/../support/atspi.py" "$@"; }
language=$3
shots=${QUILLBERN_E2E_SCREENSHOTS:-}
shoot() { [[ -z $shots ]] || import -window root "$shots/language-$language-$1.png"; }
# translated TEXT [CONTEXT]: the text as the catalogue says it.
translated() {
  LC_ALL=C.UTF-8 LANGUAGE=$language TEXTDOMAINDIR="$(dirname "$program")/locale" \
    gettext -d quillbern ${2:+--context="$2"} "$1"
}
[[ $(translated "Keyboard shortcuts") != "Keyboard shortcuts" ]] || fail "the build holds no catalogue of \"$language\""

sections=()
for english in General Docks Appearance "Hover previews" Permissions Support Help About; do
  sections+=("$(translated "$english")")
done
sheet_title=$(translated "Keyboard shortcuts")
sheet_chord="$(translated Ctrl "keyboard key")+$(translated Super "keyboard key")+A"
export LANGUAGE=$language

printf '{"hasCompletedOnboarding": true}' >"$settings"
start_headless_desktop --tray --accessibility
start_program

xdotool key ctrl+super+k
atspi find "$sheet_title" label >/dev/null || fail "the shortcut sheet has no title \"$sheet_title\""
atspi --timeout 0 find "$sheet_chord" label >/dev/null || fail "the sheet does not write \"$sheet_chord\""
shoot sheet
xdotool key x
atspi gone "$sheet_title" label || fail "the sheet did not close"

open_menu
atspi menu "$(translated "Settings…")" || fail "no row \"$(translated "Settings…")\" in the tray menu"
atspi wait "${sections[0]}" "list item" selected || fail "Settings did not open on \"${sections[0]}\""
for section in "${sections[@]}"; do
  atspi --timeout 0 find "$section" "list item" >/dev/null || fail "no section \"$section\""
done
shoot settings

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
