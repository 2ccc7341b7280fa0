# What a start reads to settle its language may be anyone's: a stored language of 10 MB that
# begins with a control character, a desktop whose languages' catalogues are a FIFO (ja) and
# one whose table offsets point out of the file (de). The start passes over each, says so
# once in the log with the control character escaped, speaks English and runs.
source "$(dirname "$0")/../support/e2e-session.sh"
# The settings hold 10 MB: a failure shows the log alone.
fail() {
  echo "FAIL: $*" >&2
  echo "--- program log:" >&2; cut -c1-300 "$work/log" >&2 || true
  exit 1
}

# An installed copy, beside catalogues of its own.
prefix="$work/prefix"
mkdir -p "$prefix/bin" "$prefix/share/locale/de/LC_MESSAGES" "$prefix/share/locale/ja/LC_MESSAGES"
cp "$program" "$prefix/bin/quillbern"
german="$(dirname "$program")/locale/de/LC_MESSAGES/quillbern.mo"
program="$prefix/bin/quillbern"
mkfifo "$prefix/share/locale/ja/LC_MESSAGES/quillbern.mo"
/usr/bin/python3 - "$german" "$prefix/share/locale/de/LC_MESSAGES/quillbern.mo" "$settings" <<'EOF'
import json, struct, sys
catalogue = bytearray(open(sys.argv[1], "rb").read())
translations = struct.unpack_from("<I", catalogue, 16)[0]
struct.pack_into("<I", catalogue, translations + 4, 0x7ffffff0)  # the header's offset
open(sys.argv[2], "wb").write(catalogue)
json.dump({"hasCompletedOnboarding": True, "quillbernLanguage": "\x1b[31m" + "x" * (10 << 20)}, open(sys.argv[3], "w"))
EOF
export LANGUAGE=ja:de

start_headless_desktop
start_program
grep -q 'stored interface language "\\x1b\[31mxxx' "$work/log" || fail "the stored language was not logged as passed over"
[[ $(grep -c "is not used" "$work/log") -eq 2 ]] || fail "the two catalogues were not each logged as not used"
grep -q "^Quillbern: texts in English, for the desktop's languages$" "$work/log" || fail "the texts are not English"
if grep -q $'\x1b' "$work/log"; then fail "a control character reached the log"; fi

kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
