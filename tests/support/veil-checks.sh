# Sourced by the end-to-end scripts that look at veils, after e2e-session.sh: the
# program's veil panels, pixels of screenshots and the frames of client windows.

# The program's shown veil panels as "x,y,width,height", sorted: its windows that ask for
# the blur behind them.
veil_panels() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xprop -id "$id" _KDE_NET_WM_BLUR_BEHIND_REGION | grep -q "=" || continue
    xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
      /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x "," y "," w "," h}'
  done | sort
}

# expect_veil_panels SECONDS FRAME...: waits until exactly these veil panels show.
expect_veil_panels() {
  local want have deadline=$((SECONDS + $1)); shift
  want=$(printf '%s\n' "$@" | sed '/^$/d' | sort)
  until have=$(veil_panels); [[ "$have" == "$want" ]]; do
    ((SECONDS < deadline)) || fail "veil panels: want [$(echo $want)], have [$(echo $have)]"
    sleep 0.05
  done
}

# shot_until SECONDS NAME CHECK...: takes the screenshot $work/NAME.png until CHECK holds
# for it, at most SECONDS. The checks that follow read the last one and say what differs.
shot_until() {
  local deadline=$((SECONDS + $1)) name=$2
  shift 2
  until import -window root "$work/$name.png" && "$@"; do
    ((SECONDS < deadline)) || return 0
    sleep 0.05
  done
}

# The colour of a pixel of a screenshot, as "R,G,B".
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
red() { pixel "$@" | cut -d, -f1; }

# The frame of a client window in root coordinates, its window manager's border and title
# bar included: x y width height.
frame_of() {
  local l r t b
  IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
  xwininfo -id "$1" | awk -v l="$l" -v r="$r" -v t="$t" -v b="$b" '/Absolute upper-left X/ {x=$NF}
    /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF}
    END {print x - l, y - t, w + l + r, h + t + b}'
}
