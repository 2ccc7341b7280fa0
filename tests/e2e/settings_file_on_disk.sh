# The settings file as people leave it: a symbolic link into a dotfiles folder stays a link
# and its target takes the program's saves; a file nested 100,000 levels deep is kept aside
# and the program starts normally; two starts at once never fail a save.
source "$(dirname "$0")/../support/e2e-session.sh"

start_headless_desktop

# A link into another folder.
dotfiles="$work/dotfiles"
mkdir -p "$dotfiles"
printf '{"dockAutoHide": false}\n' > "$dotfiles/defaults.json"
ln -s "$dotfiles/defaults.json" "$settings"
start_program
kill -TERM "$program_pid"
expect_clean_exit
[[ -L "$settings" ]] || fail "the symbolic link was replaced"
grep -q '"profiles.v1"' "$dotfiles/defaults.json" || fail "the link's target did not take the save"
grep -q '"dockAutoHide": false' "$dotfiles/defaults.json" || fail "the link's target lost a setting"
[[ -z $(find "$dotfiles" "$(dirname "$settings")" -name '*.tmp-*') ]] || fail "a temporary file was left behind"

# A value nested 100,000 levels deep.
rm "$settings"
{ printf '{"dockAutoHide": false, "deep": '; head -c 100000 /dev/zero | tr '\0' '['
  head -c 100000 /dev/zero | tr '\0' ']'; printf '}\n'; } > "$work/deep.json"
cp "$work/deep.json" "$settings"
start_program
grep -q "cannot be read (nested deeper than 256 levels); kept it as" "$work/log" || fail "the deep file was not kept aside"
kill -TERM "$program_pid"
expect_clean_exit
grep -q '"profiles.v1"' "$settings" || fail "no fresh settings file"
aside=$(ls "$(dirname "$settings")" | grep '^defaults.json.unreadable-' || true)
cmp -s "$work/deep.json" "$(dirname "$settings")/$aside" || fail "the deep file was not kept whole"

# Two starts at once: whichever runs, neither fails a save.
"$program" >"$work/first.log" 2>&1 &
first=$!
"$program" >"$work/second.log" 2>&1 &
second=$!
wait_for 20 sh -c "grep -q '^Quillbern: started$' '$work/first.log' '$work/second.log'" || fail "neither start ran"
kill -TERM "$first" "$second" 2>/dev/null || true
wait "$first" "$second" || true
cat "$work/first.log" "$work/second.log" >"$work/log"
grep -q "not saved" "$work/log" && fail "a save failed"
python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$settings" || fail "the settings file does not parse"
echo "PASS"
