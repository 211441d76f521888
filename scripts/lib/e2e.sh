# shellcheck shell=bash
# Helpers for driving the real program as a user does: X events from xdotool,
# screenshots of the whole screen, and what the pixels show. Sourced by the
# end-to-end tests, the screenshot script and the benches. start_screen makes
# the private screen and its window manager; every wait below waits for what
# the step before it brings about, with a generous deadline.

# Where screenshots and crops go; kept for a person to look at.
: "${ARTIFACTS:?ARTIFACTS must name a folder}"
mkdir -p "$ARTIFACTS"
# Absolute, so that a script may change folders or start the program elsewhere.
ARTIFACTS=$(realpath "$ARTIFACTS")
export ARTIFACTS

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds or time is up.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# The main window's client area on the screen, once the window manager has
# taken it in: it places a window before giving it the focus, so the focus
# says that the place read here is final.
find_main_window() {
  wait_for 30 xdotool search --onlyvisible --name '^Trelvane 2\.0$' >/dev/null || fail "main window not shown"
  MAIN_WINDOW=$(xdotool search --onlyvisible --name '^Trelvane 2\.0$' | head -n 1)
  wait_for 20 has_focus "$MAIN_WINDOW" || fail "the main window never gets the focus"
  local info
  info=$(xwininfo -id "$MAIN_WINDOW")
  ORIGIN_X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  ORIGIN_Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
}

# has_focus WINDOW: WINDOW has the keyboard focus.
has_focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# click X Y: a left click at client coordinates of the main window.
click() {
  # A move with --sync to where the pointer already is waits 15 s for a
  # motion that never comes: move beside the spot first, in the same call.
  xdotool mousemove $((ORIGIN_X + $1 + 1)) $((ORIGIN_Y + $2 + 1)) \
    mousemove --sync $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)) click 1
}

# shot NAME: a screenshot of the whole screen as $ARTIFACTS/NAME.png.
shot() {
  import -window root "$ARTIFACTS/$1.png"
}

# crop NAME FROM X Y W H: part of screenshot FROM at client coordinates.
crop() {
  convert "$ARTIFACTS/$2.png" -crop "$5x$6+$((ORIGIN_X + $3))+$((ORIGIN_Y + $4))" +repage \
    "$ARTIFACTS/$1.png"
}

# colourful_share NAME: the share (0..1) of pixels that are not near black.
colourful_share() {
  convert "$ARTIFACTS/$1.png" -colorspace Gray -threshold 12% -format '%[fx:mean]' info:
}

# differing_pixels A B: how many pixels of two crops differ.
differing_pixels() {
  compare -metric AE "$ARTIFACTS/$1.png" "$ARTIFACTS/$2.png" null: 2>&1 || true
}

# read_number NAME: the digits shown in a crop, read the way a person
# would, or "" when they cannot be read for sure. An empty label reads "".
read_number() {
  # Smoothed at eight times the size and cut to the text. The reader drops
  # or adds digits now and then (47 read as 7, 90 as 900); a reading counts
  # only when it has as many digits as the text is wide. Digits all advance
  # by 8 pixels and are 2 to 7 wide: n digits span 8(n-1)+2 to 8(n-1)+7.
  convert "$ARTIFACTS/$1.png" -colorspace Gray -scale 800% -blur 0x2 -threshold 55% -trim \
    -bordercolor white -border 60 "$ARTIFACTS/$1-ocr.png" 2>/dev/null
  local digits psm text
  digits=$(convert "$ARTIFACTS/$1.png" -colorspace Gray -threshold 60% -negate -scale 'x1!' -depth 8 txt:- |
    awk -F'[()]' 'NR > 1 { split($2, v, ","); if (v[1] + 0 > 0) { if (first == "") first = NR; last = NR } }
      END { if (first == "") print 0; else printf "%.0f\n", (last - first + 1 - 5) / 8 + 1 }')
  [ "$digits" -gt 0 ] || return 0
  for psm in 7 8 6; do
    text=$(tesseract "$ARTIFACTS/$1-ocr.png" - --psm "$psm" \
      -c tessedit_char_whitelist=0123456789 2>/dev/null | tr -d '[:space:]')
    [ "${#text}" != "$digits" ] || { echo "$text"; return 0; }
  done
}

# start_screen: a private virtual screen with a window manager, so that the
# test neither depends on nor disturbs the desktop it is started from.
start_screen() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  SCREEN_PID=$!
  local number
  # Xvfb writes its number once it takes clients.
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
  openbox >"$ARTIFACTS/window-manager.log" 2>&1 &
  WM_PID=$!
  wait_for 30 wm_ready || fail "the window manager did not start: $(tail -n 2 "$ARTIFACTS/window-manager.log")"
}

# wm_ready: a window manager has announced itself. It sets this property on
# the root window once it manages the screen, naming a window of its own that
# carries the same property.
wm_ready() {
  local check
  check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}')
  [ -n "$check" ] && xprop -id "$check" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "$check"
}

stop_screen() {
  kill "${WM_PID:-}" "${SCREEN_PID:-}" 2>/dev/null || true
}

# start_program COMMAND...: a private screen, COMMAND started on it with its
# output kept in the artefacts, and its main window found once it has the
# focus. Sets program_pid. On exit the program is killed and the screen
# stopped, after the script's own `before_exit` when it defines one.
start_program() {
  start_screen
  "$@" >"$ARTIFACTS/program.log" 2>&1 &
  program_pid=$!
  trap end_program_and_screen EXIT
  find_main_window
}

end_program_and_screen() {
  if declare -F before_exit >/dev/null; then
    before_exit || true
  fi
  kill "${program_pid:-}" 2>/dev/null || true
  stop_screen
}

# close_program PID: closes the main window as a user does and waits for
# the program to end.
close_program() {
  wm_ready || fail "the window manager is gone: $(tail -n 2 "$ARTIFACTS/window-manager.log")"
  wmctrl -c 'Trelvane 2.0'
  wait_for 10 bash -c "! kill -0 $1 2>/dev/null" || fail "the program did not end on close"
}

# The main window's own controls, dialogs and message boxes.
# shellcheck source=e2e-form.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e-form.sh"
