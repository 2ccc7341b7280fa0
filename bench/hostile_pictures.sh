#!/usr/bin/env bash
# The real program on the test desktop among pictures and icon themes made to cost a reader
# memory and time (bench/hostile_pictures.py), SVGs that take hours and twenty that take seconds
# among them: the docks' applications name them as their
# icons, a plain icon pinned after them, a pinned folder holds them (its popover opened, so
# they are thumbnailed), and 32 themes the common theme's name starts list 52,000 folders that
# are not there, one application naming an icon no theme has. Reports how long the docks took
# to show, how long until the screen showed the plain icon, the longest a second start waited
# for the running program's answer while it read them (the main loop's answer) over 20 s, its
# peak resident memory (its readers' apart), and how its end went at SIGTERM. Fails when the
# docks take over 10 s, the plain icon over 10 s, a second start over 1 s, the peak passes
# 150 MB, no thumbnail was made, or a thread or a reader is left behind at the end. With --at-the-bound, legitimate pictures that decode to the
# bound stand in for the hostile ones, for the peak they raise.
#
#   bench/hostile_pictures.sh [--at-the-bound] [program]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
at_the_bound=
[[ ${1-} == --at-the-bound ]] && at_the_bound=$1 && shift
program=${1:-$root/build/quillbern}
source "$root/bench/lib/desktop-bench.sh"
require_built "$program"

export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
pictures="$work/Pictures"
python3 "$root/bench/hostile_pictures.py" ${at_the_bound:+"$at_the_bound"} "$pictures" "$XDG_DATA_HOME/icons"
mkdir -p "$XDG_DATA_HOME/applications"
# The slow SVGs before the plain icon in one dock; the other pictures in a dock of their own.
slow=()
others=()
for picture in "$pictures"/*; do
  case $picture in
    */plain.png) ;;
    */hours-*.svg | */seconds-*.svg) slow+=("$picture") ;;
    *) others+=("$picture") ;;
  esac
done
items_of() {  # PICTURE-OR-ICON-NAME...: dock items of applications with these icons
  local picture name id icon items=
  for picture; do
    name=$(basename "$picture")
    id="hostile-${name%%.*}"
    icon=$picture
    [[ -e "$picture" ]] || icon=$name
    printf '[Desktop Entry]\nType=Application\nName=%s\nExec=true\nIcon=%s\n' "$name" "$icon" \
      >"$XDG_DATA_HOME/applications/$id.desktop"
    items+=",$(app "$id" "$name")"
  done
  printf '%s' "${items#,}"
}
folder='{"location":{"_0":{"id":"22222222-0000-4000-8000-000000000002","name":"Pictures","path":"'$pictures'"}}}'
dock() {  # number name edge display items
  printf '{"id":"11111111-0000-4000-8000-00000000000%s","name":"%s","items":[%s],"edge":"%s","display":%s,' \
    "$1" "$2" "$5" "$3" "$4"
  printf '"isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"}'
}
write_settings "[$(dock 1 Files bottom '{"all":{}}' "$folder"),$(dock 2 Slow top '{"all":{}}' \
  "$(items_of "${slow[@]}" "$pictures/plain.png")"),$(dock 3 Others left '{"all":{}}' \
  "$(items_of "${others[@]}" missing-icon-name)")]" '"dockAutoHide": false, "appearanceTileSize": 48'

start_headless_desktop
xdotool mousemove 640 500
started=$(date +%s%N)
"$program" >"$work/log" 2>&1 &
program_pid=$!
# Qt's warnings about such pictures run to megabytes a line.
wait_for 120 docks_made 6 || { echo "the dock panels did not show" >&2; cut -c1-300 "$work/log" >&2; exit 1; }
shown=$(date +%s%N)
shownAfter=$(((shown - started) / 1000000))

# The plain icon's colour (hostile_pictures.py's PLAIN) on the screen.
plain_shown() {
  import -window root -depth 8 ppm:- 2>/dev/null \
    | python3 -c 'import sys; sys.exit(sys.stdin.buffer.read().count(bytes((18, 235, 90))) < 200)'
}
(wait_for 30 plain_shown && echo $((($(date +%s%N) - started) / 1000000)) >"$work/plain") &
poller=$!

# A second start hands over to the running program and waits for its answer.
longest=0
answer() {
  local begun ended
  begun=$(date +%s%N)
  timeout 30 "$program" >/dev/null 2>&1 || true
  ended=$(date +%s%N)
  echo $(((ended - begun) / 1000000))
}
clicked=
deadline=$((SECONDS + 20))
while ((SECONDS < deadline)); do
  [[ -z $clicked ]] && ((deadline - SECONDS < 17)) && clicked=1 && xdotool mousemove 640 1022 click 1
  took=$(answer)
  ((took > longest)) && longest=$took
  sleep 0.25
done
peak=$(awk '/^VmHWM/ {print $2}' "/proc/$program_pid/status")
wait "$poller" || true
plainAfter=$(cat "$work/plain" 2>/dev/null || echo 30000+)
# Its readers, which must end with it.
readers=$(pgrep -P "$program_pid" -x quillbern-pics || true)
terminated=$(date +%s%N)
kill -TERM "$program_pid"
wait "$program_pid" || true
program_pid=
endedAfter=$((($(date +%s%N) - terminated) / 1000000))
leftBehind=$(grep -c "left behind" "$work/log" || true)
readersLeft=0
for reader in $readers; do
  [[ -d /proc/$reader ]] && ((++readersLeft))
done
printf 'docks shown after %d ms; the plain icon after %s ms; a second start answered within %d ms at most; ' \
  "$shownAfter" "$plainAfter" "$longest"
printf 'peak resident memory %d MB; ended %d ms after SIGTERM, %d threads and %d readers left behind\n' \
  "$((peak / 1024))" "$endedAfter" "$leftBehind" "$readersLeft"
status=0
# The ordinary picture's, made once the popover read the folder.
[[ -n $(find "$XDG_CACHE_HOME/thumbnails" -name '*.png' 2>/dev/null) ]] \
  || { echo "no thumbnail was made: the folder's popover did not open, or its pictures held the reader" >&2; status=1; }
((shownAfter <= 10000)) || { echo "the docks took over 10 s" >&2; status=1; }
[[ $plainAfter != *+ ]] && ((plainAfter <= 10000)) || { echo "the plain icon took over 10 s" >&2; status=1; }
((leftBehind == 0)) || { echo "a thread was left behind at the end: $(grep "left behind" "$work/log")" >&2; status=1; }
((readersLeft == 0)) || { echo "a picture reader outlived the program" >&2; status=1; }
((longest <= 1000)) || { echo "a second start waited over 1 s" >&2; status=1; }
((peak <= 150 * 1024)) || { echo "the peak passed 150 MB" >&2; status=1; }
exit $status
