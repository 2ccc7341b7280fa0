# Starting with unreadable dock data keeps the original bytes under a dated key, stores a
# working dock list in their place and raises the recovery flag; nothing is lost.
source "$(dirname "$0")/../support/e2e-session.sh"

damaged=$(printf '[{"name": "Work", "items": [' | base64 -w0)
printf '{"profiles.v1": {"$data": "%s"}, "dockAutoHide": false}\n' "$damaged" > "$settings"

# The data value stored under KEY, decoded.
data_of() { grep -A1 "\"$1\": {" "$settings" | sed -n 's/.*"\$data": "\(.*\)".*/\1/p' | base64 -d; }

start_headless_desktop
start_program
kill -TERM "$program_pid"
expect_clean_exit

corrupt_key=$(grep -o '"profiles\.v1\.corrupt\.[0-9]*"' "$settings" | tr -d '"')
[[ -n "$corrupt_key" ]] || fail "no dated copy of the unreadable docks"
[[ "$(data_of "$corrupt_key" | base64 -w0)" == "$damaged" ]] || fail "the copy differs from the original bytes"
data_of profiles.v1 | grep -q '"name":"Main"' || fail "no working dock list in place of the damaged one"
grep -q '"profilesRecoveredFromUnreadableData": true' "$settings" || fail "the recovery flag is not set"
grep -q '"dockAutoHide": false' "$settings" || fail "another setting was lost"
echo "PASS"
