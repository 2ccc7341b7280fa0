#!/usr/bin/env bash
# Runs every benchmark executable the build made once, briefly, so that one that can no
# longer run fails scripts/test: each Google Benchmark executable with one short repetition
# of each benchmark, the window churn's driver for a second; all on the headless test desktop,
# which the X11 ones need. Fails when one exits non-zero, reports an error of a benchmark
# (SkipWithError, which Google Benchmark leaves out of the exit status) or ran no benchmark.
# Timings of so short a run mean nothing: scripts/bench measures.
#
#   bench/run_once.sh
#
# Needs the build (scripts/build) and the desktop packages (scripts/setup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
benches="$root/build/bench"
client="$root/build/tests/quillbern_test_client"

source "$root/scripts/lib/headless-desktop.sh"
work=$(mktemp -d)
finish() {
  stop_headless_desktop
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM

[[ -x "$client" ]] || { echo "missing $client: run scripts/build first" >&2; exit 1; }
mapfile -t executables < <(find "$benches" -maxdepth 1 -type f -executable -name 'quillbern_*' | sort)
((${#executables[@]} > 0)) || { echo "no benchmark executables in $benches: run scripts/build first" >&2; exit 1; }

# google_benchmark EXECUTABLE: one short repetition of each of its benchmarks, their results
# also written as JSON, where an error a benchmark reported shows.
google_benchmark() {
  local name=${1##*/} status=0
  "$1" --benchmark_min_time=0.01 --benchmark_repetitions=1 \
    --benchmark_out="$work/$name.json" --benchmark_out_format=json || status=$?
  if ((status != 0)); then
    echo "$name: exit status $status" >&2
    return 1
  fi
  if ! grep -q '"run_type"' "$work/$name.json" 2>/dev/null; then
    echo "$name: ran no benchmark" >&2
    return 1
  fi
  if grep -q '"error_occurred": true' "$work/$name.json"; then
    echo "$name: a benchmark reported an error:" >&2
    awk -F'"' '$2 == "name" {name = $4} $2 == "error_message" {print "  " name ": " $4}' "$work/$name.json" >&2
    return 1
  fi
}

start_headless_desktop
failed=()
for executable in "${executables[@]}"; do
  name=${executable##*/}
  echo "--- $name"
  start=$SECONDS
  case $name in
    quillbern_window_churn) "$executable" "$client" 5 1 || failed+=("$name") ;;
    *) google_benchmark "$executable" || failed+=("$name") ;;
  esac
  echo "--- $name: $((SECONDS - start)) s"
done

if ((${#failed[@]} > 0)); then
  echo "benchmarks that cannot run: ${failed[*]}" >&2
  exit 1
fi
echo "all ${#executables[@]} benchmark executables ran"
