# A user leaves Settings open on each of its eight sections in turn: the settings file is
# never rewritten (its inode and modification time stay), though the window reads the
# login item and the capture grant again every second. Three seconds a section see three
# of those refreshes, enough to catch one that writes; longer would only cost the suite
# time. Sections are chosen through AT-SPI, as a screen reader chooses them.
source "$(dirname "$0")/../support/e2e-session.sh"
atspi() { /usr/bin/python3 "$(dirname "$0")/../support/atspi.py" "$@"; }

sections=(General Docks Appearance "Hover previews" Permissions Support Help About)
# The file as the disk has it: a save replaces it with a new inode and a new time.
file_stamp() { stat -c '%i %y' "$settings"; }
unchanged() { [[ $(file_stamp) == "$stamp" ]]; }

printf '{"hasCompletedOnboarding": true}\n' >"$settings"
start_headless_desktop --accessibility
start_program
# A second start without arguments opens the running one's Settings.
"$program" >/dev/null 2>&1 || fail "the second start failed"
wait_for 10 bash -c '[ -n "$(named "Quillbern Settings")" ]' || fail "Settings did not open"
atspi wait General "list item" selected || fail "Settings did not open on General"
wait_for 10 grep -q '"profiles.v1"' "$settings" || fail "the start did not store its docks"
stamp=$(file_stamp)

for section in "${sections[@]}"; do
  atspi select "$section" "list item" || fail "no section $section"
  atspi wait "$section" "list item" selected || fail "$section was not selected"
  holds_for 3 unchanged || fail "the settings file was rewritten while Settings showed $section"
done

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
