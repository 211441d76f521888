# Helpers for driving the real program as a user does: X events from xdotool,
# screenshots of the whole screen, and what the pixels show. Sourced by the
# end-to-end tests, the screenshot script and the benches; expects DISPLAY and a window manager to be running.

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

# The main window's client area on the screen, once it is shown.
find_main_window() {
  MAIN_WINDOW=$(xdotool search --sync --onlyvisible --name '^Trelvane 2\.0$' | head -n 1)
  [ -n "$MAIN_WINDOW" ] || fail "main window not shown"
  local info
  info=$(xwininfo -id "$MAIN_WINDOW")
  ORIGIN_X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  ORIGIN_Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
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

# read_number NAME: the digits shown in a crop, read the way a person would.
read_number() {
  # Smoothed at eight times the size and cut to the text: the reader then
  # takes a lone digit as reliably as a number. An empty label reads "".
  convert "$ARTIFACTS/$1.png" -colorspace Gray -scale 800% -blur 0x2 -threshold 55% -trim \
    -bordercolor white -border 60 "$ARTIFACTS/$1-ocr.png" 2>/dev/null
  local psm text
  for psm in 8 6; do
    text=$(tesseract "$ARTIFACTS/$1-ocr.png" - --psm "$psm" \
      -c tessedit_char_whitelist=0123456789 2>/dev/null | tr -d '[:space:]')
    [ -z "$text" ] || break
  done
  echo "$text"
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
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  wait_for 10 xdotool getactivewindow >/dev/null 2>&1 || true
}

stop_screen() {
  kill "${WM_PID:-}" "${SCREEN_PID:-}" 2>/dev/null || true
}

# The window's value labels, by their place in the client area.
label_box() {
  case "$1" in
    Label4) echo "166 361 124 12" ;;
    Label7) echo "90 366 59 12" ;;
    Label9) echo "83 384 66 12" ;;
    Label3) echo "57 402 92 12" ;;
  esac
}

# label_reads LABEL NUMBER: true when the label shows exactly NUMBER now.
label_reads() {
  shot now
  # shellcheck disable=SC2046
  crop "$1" now $(label_box "$1")
  [ "$(read_number "$1")" = "$2" ]
}

# label_at_least LABEL NUMBER: the label shows a number of at least NUMBER.
label_at_least() {
  shot now
  # shellcheck disable=SC2046
  crop "$1" now $(label_box "$1")
  local n
  n=$(read_number "$1")
  [ -n "$n" ] && [ "$n" -ge "$2" ]
}

# The frame P the video is drawn in.
frame_colourful() {
  shot now
  crop frame now 14 31 273 222
  awk -v share="$(colourful_share frame)" 'BEGIN { exit !(share > 0.3) }'
}

# frame_steady: two looks at the frame half a second apart show the same picture.
frame_steady() {
  shot steady-a
  crop frame-a steady-a 14 31 273 222
  sleep 0.5
  shot steady-b
  crop frame-b steady-b 14 31 273 222
  [ "$(differing_pixels frame-a frame-b)" = "0" ]
}

# message_box_shown: a window titled like the main window, other than it, is up.
message_box_shown() {
  local window
  for window in $(xdotool search --onlyvisible --name '^Trelvane 2\.0$'); do
    [ "$window" = "$MAIN_WINDOW" ] || return 0
  done
  return 1
}

message_box_gone() {
  ! message_box_shown
}

# other_window TITLE: a shown window with that exact title other than the
# main window (a message box, or the dialog over which a warning is shown).
other_window() {
  local window
  # A window closing meanwhile makes xdotool complain; it is then not shown.
  for window in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    [ "$window" = "$MAIN_WINDOW" ] || { echo "$window"; return 0; }
  done
  return 1
}

# window_text WINDOW NAME: the letters and digits a window shows, read from
# a screenshot of it as a person reads them, lower case, without blanks.
window_text() {
  local info x y w h
  info=$(xwininfo -id "$1")
  x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  w=$(awk '/Width:/ {print $2}' <<<"$info")
  h=$(awk '/Height:/ {print $2}' <<<"$info")
  shot "$2"
  convert "$ARTIFACTS/$2.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray -scale 300% \
    "$ARTIFACTS/$2-text.png"
  tesseract "$ARTIFACTS/$2-text.png" - --psm 6 2>/dev/null | tr -dc '[:alnum:]' | tr '[:upper:]' '[:lower:]'
}

# message_reads TEXT: a message box is up and shows TEXT (compared on its
# letters and digits only, as OCR gives punctuation unreliably).
message_reads() {
  local box want
  box=$(other_window 'Trelvane 2\.0') || return 1
  want=$(tr -dc '[:alnum:]' <<<"$1" | tr '[:upper:]' '[:lower:]')
  LAST_MESSAGE=$(window_text "$box" message)
  [[ "$LAST_MESSAGE" == *"$want"* ]]
}

# mark_five_to_ten: from a playing movie, marks seconds 5 and 10 with the
# slider, as window-e2e.sh does.
mark_five_to_ten() {
  click 85 297
  wait_for 10 label_reads Label4 0 || fail "Label4 is not 0 after Stop"
  wait_for 10 frame_steady || fail "the picture moves on after Stop"
  click 200 269
  wait_for 10 frame_steady || fail "the picture does not settle after a seek"
  click 102 328
  wait_for 5 label_reads Label7 5 || fail "Select Start did not mark second 5"
  click 200 269
  wait_for 10 frame_steady || fail "the picture does not settle after the second seek"
  click 193 327
  wait_for 5 label_reads Label9 10 || fail "Select End did not mark second 10"
}

# choose_in_dialog X Y NAME: the file dialog that the button at client X Y
# brings up gets NAME typed into it and taken with Return.
choose_in_dialog() {
  click "$1" "$2"
  wait_for 10 xdotool search --onlyvisible --name '^Open$' >/dev/null || fail "no file dialog"
  xdotool type --delay 5 "$3"
  xdotool key Return
}

# files_held PID FOLDER: the files under FOLDER that process PID holds open.
files_held() {
  find "/proc/$1/fd" -mindepth 1 -maxdepth 1 -exec readlink {} + 2>/dev/null |
    grep -F "$2/" || true
}
