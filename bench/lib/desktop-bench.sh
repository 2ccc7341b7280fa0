# Shared by the benchmarks that run the real program on the headless test desktop: the
# desktop and a work folder, both gone at exit with the program; the settings of a user
# past the first start; the program's start, its dock panels and its threads' wake-ups. The caller sets `root` and
# `program` first.
source "$root/scripts/lib/headless-desktop.sh"
source "$root/scripts/lib/dock-panels.sh"
work=$(mktemp -d)
program_pid=
finish() {
  [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
  stop_headless_desktop
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM

# require_built FILE...: each must have been built by scripts/build.
require_built() {
  local needed
  for needed; do
    [[ -x "$needed" ]] || { echo "missing $needed: run scripts/build first" >&2; exit 1; }
  done
}

# app BUNDLE-ID NAME: a dock item of that application.
app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }

# write_settings DOCKS [MEMBERS]: the settings file under $XDG_CONFIG_HOME with these docks
# (a JSON list) and any more members ("key": value, ...), for a user past the first start,
# so no walkthrough window stands among the docks.
write_settings() {
  mkdir -p "$XDG_CONFIG_HOME/quillbern"
  printf '{"profiles.v1": {"$data": "%s"}, "hasCompletedOnboarding": true%s}\n' \
    "$(printf '%s' "$1" | base64 -w0)" "${2:+, $2}" >"$XDG_CONFIG_HOME/quillbern/defaults.json"
}

# start_program [NAME=VALUE...]: starts the program with these variables, its log in
# $work/log, and waits for its start line.
start_program() {
  env "$@" "$program" >"$work/log" 2>&1 &
  program_pid=$!
  wait_for 20 grep -q "^Quillbern: started$" "$work/log" || { cat "$work/log" >&2; exit 1; }
}

# The program's threads now, one a line, sorted: "tid name switches nanoseconds-on-a-CPU",
# the switches voluntary and involuntary (its wake-ups), from /proc.
threads() {
  local task
  for task in /proc/"$program_pid"/task/*; do
    awk -v name="$(tr " " "_" <"$task/comm" 2>/dev/null)" -v tid="${task##*/}" -v ns="$(cut -d' ' -f1 "$task/schedstat" 2>/dev/null)" \
      '/^voluntary_ctxt_switches/ {v=$2} /^nonvoluntary_ctxt_switches/ {n=$2} END {print tid, name, v + n, ns}' \
      "$task/status" 2>/dev/null || true
  done | sort
}
