# shellcheck shell=bash
# The main window as the end-to-end tests see it: its value labels, the frame
# the movie is drawn in, its message boxes and file dialog, and the steps
# that several tests take alike. Sourced by e2e.sh, whose helpers it uses.

# The window's value labels, by their place in the client area.
label_box() {
  case "$1" in
    Label4) echo "166 361 124 12" ;;
    Label7) echo "90 366 59 12" ;;
    Label9) echo "83 384 66 12" ;;
    Label3) echo "57 402 92 12" ;;
  esac
}

# label_number LABEL [SHOT]: the number LABEL shows now, or in screenshot SHOT.
label_number() {
  local from=${2:-now}
  [ -n "${2:-}" ] || shot now
  # shellcheck disable=SC2046
  crop "$1" "$from" $(label_box "$1")
  read_number "$1"
}

# label_reads LABEL NUMBER: true when the label shows exactly NUMBER now.
label_reads() {
  [ "$(label_number "$1")" = "$2" ]
}

# label_at_least LABEL NUMBER: the label shows a number of at least NUMBER.
label_at_least() {
  local n
  n=$(label_number "$1")
  [ -n "$n" ] && [ "$n" -ge "$2" ]
}

# The frame P the video is drawn in.
frame_colourful() {
  shot now
  crop frame now 14 31 273 222
  awk -v share="$(colourful_share frame)" 'BEGIN { exit !(share > 0.3) }'
}

# frame_steady: two looks at the frame, some frames of the movie apart, show
# the same picture. Not a wait but a measurement: a picture that does not
# move shows nothing that could end a wait, so stillness is only seen over
# an interval. Half a second spans 12 to 15 frames of the test movies, each
# of which moves the test pattern; a screenshot takes longer than the
# interval, so a busy machine only lengthens it.
frame_steady() {
  shot steady-a
  crop frame-a steady-a 14 31 273 222
  sleep 0.5
  shot steady-b
  crop frame-b steady-b 14 31 273 222
  [ "$(differing_pixels frame-a frame-b)" = "0" ]
}

# frame_shot NAME: the frame P as it is now, as $ARTIFACTS/NAME.png.
frame_shot() {
  shot "$1-screen"
  crop "$1" "$1-screen" 14 31 273 222
}

# frame_differs_from NAME: the frame shows another picture than frame_shot NAME did.
frame_differs_from() {
  frame_shot "$1-now"
  [ "$(differing_pixels "$1" "$1-now")" != "0" ]
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

# expect_message TEXT: the next message box says TEXT; Return answers it.
expect_message() {
  wait_for 60 message_reads "$1" || fail "the message box does not say \"$1\" (read: ${LAST_MESSAGE:-nothing})"
  MESSAGES=$((${MESSAGES:-0} + 1))
  cp "$ARTIFACTS/message.png" "$ARTIFACTS/message-$MESSAGES.png"
  echo "  message: $1"
  xdotool key Return
  wait_for 10 message_box_gone || fail "the message box stays"
}

# mark_five_to_ten: from a playing movie, Stop, then two clicks on the
# slider's track, each one page of 5 seconds on, marked as start and end.
mark_five_to_ten() {
  # Stop waits a second and only then puts the slider and the movie back to
  # 0; a slider click that lands in that wait is undone. Its last step
  # writes 0 into Label4, where the ticks had put at least 1: only then is
  # Stop over, its wait and its seek to 0 included.
  wait_for 20 label_at_least Label4 1 || fail "Label4 does not follow the playing movie"
  click 85 297
  wait_for 15 label_reads Label4 0 || fail "Label4 is not 0 after Stop"
  seek_one_page_and_mark 102 328 Label7 5 "Select Start"
  seek_one_page_and_mark 193 327 Label9 10 "Select End"
}

# seek_one_page_and_mark X Y LABEL SECOND NAME: a click on the slider's track
# right of the thumb, then, once the picture shows the seek, the mark button
# at client X Y, whose LABEL must then read SECOND.
seek_one_page_and_mark() {
  frame_shot before-seek
  click 200 269
  wait_for 15 frame_differs_from before-seek || fail "the picture does not move to second $4"
  click "$1" "$2"
  wait_for 10 label_reads "$3" "$4" || fail "$5 did not mark second $4"
}

# open_dialog X Y: the button at client X Y brings up the file dialog, and
# the dialog gets the keyboard focus; its name field has it within.
open_dialog() {
  click "$1" "$2"
  wait_for 20 other_window Open >/dev/null || fail "no file dialog"
  DIALOG=$(other_window Open)
  wait_for 20 has_focus "$DIALOG" || fail "the file dialog does not get the focus"
}

# dialog_field_reads TEXT: the dialog's name field holds exactly TEXT. The
# field is selected with the keys a user would use, and what is selected is
# read from the X selection; a stand-in put there first makes sure that
# the field, and nothing else, answers.
dialog_field_reads() {
  printf '(not the field)' | xclip -quiet -selection primary -i >/dev/null 2>&1 &
  local stand_in=$! text
  # shellcheck disable=SC2016
  wait_for 10 bash -c '[ "$(xclip -o -selection primary 2>/dev/null)" = "(not the field)" ]' ||
    fail "cannot set the X selection"
  xdotool key ctrl+a
  # The stand-in ends when another window takes the selection from it.
  if ! wait_for 10 bash -c "! kill -0 $stand_in 2>/dev/null"; then
    kill "$stand_in" 2>/dev/null || true
    wait "$stand_in" 2>/dev/null || true
    FIELD_TEXT="(nothing selected)"
    return 1
  fi
  wait "$stand_in" 2>/dev/null || true
  text=$(xclip -o -selection primary 2>/dev/null || true)
  FIELD_TEXT=$text
  [ "$text" = "$1" ]
}

dialog_gone() { ! xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1; }

# enter_in_dialog X Y NAME [TYPIST]: the file dialog that the button at
# client X Y brings up gets NAME typed into its name field (by the function
# TYPIST, when the name needs keys of its own) and, once the field reads
# back as NAME, takes it with Return. Keys can go astray while the dialog's
# list of completions comes up; then the name is typed again over the
# selected text, as a user corrects a typing error.
enter_in_dialog() {
  open_dialog "$1" "$2"
  local attempt
  for attempt in 1 2 3; do
    if [ -n "${4:-}" ]; then "$4"; else xdotool type --delay 5 "$3"; fi
    dialog_field_reads "$3" && break
    [ "$attempt" -lt 3 ] || fail "the dialog's name field reads \"$FIELD_TEXT\", not \"$3\""
    echo "  (the name field read \"$FIELD_TEXT\"; typed again)" >&2
  done
  xdotool key Return
}

# choose_in_dialog X Y NAME [TYPIST]: enter_in_dialog, after which the
# dialog closes.
choose_in_dialog() {
  enter_in_dialog "$@"
  wait_for 20 dialog_gone || fail "the file dialog stays up after Return on \"$3\""
}

# files_held PID FOLDER: the files under FOLDER that process PID holds open.
files_held() {
  find "/proc/$1/fd" -mindepth 1 -maxdepth 1 -exec readlink {} + 2>/dev/null |
    grep -F "$2/" || true
}
