#!/usr/bin/env bash
# The headless desktop for an integration test program: prints the display on the first
# line, keeps the desktop while standard input stays open, then stops all it started.
# Options are those of start_headless_desktop.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/headless-desktop.sh"
trap stop_headless_desktop EXIT
trap 'exit 1' TERM INT
start_headless_desktop "$@" || exit 1
echo "$DISPLAY"
cat >/dev/null
