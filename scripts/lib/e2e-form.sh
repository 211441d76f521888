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

# frame_shot NAME: the frame P, on fresh pixels, as $ARTIFACTS/NAME.png.
frame_shot() {
  fresh_shot "$1-screen" || fail "no fresh screenshot for $1"
  # shellcheck disable=SC2046
  crop "$1" "$1-screen" "${FRAME_BOX[@]}"
}

# frame_steady [MOVIE]: two looks at the frame, some frames of the movie
# apart, show the same picture, and the program answers on the bus in
# between (a hung program would stand still too). With MOVIE, the picture
# is also the movie's at Current Time, not a covered or blank frame. Not a
# wait but a measurement: a picture that does not move shows nothing that
# could end a wait, so stillness is only seen over an interval. Half a
# second spans 12 to 15 frames of the test movies, each of which moves the
# test pattern; a screenshot takes longer than the interval, so a busy
# machine only lengthens it.
frame_steady() {
  frame_shot steady-a
  sleep 0.5
  bus_tree || return 1
  frame_shot steady-b
  [ "$(differing_pixels steady-a steady-b)" = "0" ] || return 1
  [ -z "${1:-}" ] || frame_shows_movie "$1"
}

# frame_differs_from NAME: the frame shows another picture than frame_shot
# NAME did: not a few pixels, but a picture apart (below 30 dB of PSNR, as
# two pictures of the test pattern a second apart are, at 16 to 22).
frame_differs_from() {
  frame_shot "$1-now"
  local score
  score=$(compare -metric PSNR "$ARTIFACTS/$1.png" "$ARTIFACTS/$1-now.png" null: 2>&1 || true)
  awk -v s="$score" 'BEGIN { exit !(s != "inf" && s + 0 < 30) }'
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

# window_area WINDOW: the X Y W H of a window on the screen.
window_area() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END { print x, y, w, h }'
}

# bus_texts: the texts of labels outside the main window (message boxes,
# dialogs), one a line: the main window's labels all carry a description.
bus_texts() {
  awk -F'\t' '$1 == "label" && $3 == "" && $2 != "" { print $2 }' <<<"$BUS_TREE"
}

# window_shows WINDOW TEXT NAME: on two screenshots in a row that agree on
# the window (the second kept as NAME), the line TEXT is drawn exactly.
window_shows() {
  local area
  area=$(window_area "$1") || return 1
  shot "$3-before"
  shot "$3"
  # shellcheck disable=SC2086
  "$SCREEN_TEXT" agree "$ARTIFACTS/$3-before.png" "$ARTIFACTS/$3.png" $area 2>/dev/null &&
    "$SCREEN_TEXT" find "$ARTIFACTS/$3.png" $area "$2" >/dev/null 2>&1
}

# message_reads TEXT: a message box is up and says exactly TEXT: a label
# of it carries TEXT on the bus, and the box shows it, pixel for pixel.
message_reads() {
  local box
  box=$(other_window 'Trelvane 2\.0') || return 1
  bus_tree || return 1
  LAST_MESSAGE=$(bus_texts | paste -sd '|')
  bus_texts | grep -qxF -- "$1" || return 1
  window_shows "$box" "$1" message || { LAST_MESSAGE="$LAST_MESSAGE (on the bus, not on the screen)"; return 1; }
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

# mark_five_to_ten [MOVIE]: from a playing movie, Stop, then two clicks on the
# slider's track, each one page of 5 seconds on, marked as start and end.
mark_five_to_ten() {
  # Stop waits a second and only then puts the slider and the movie back to
  # 0; a slider click that lands in that wait is undone. Its last step
  # writes 0 into Label4, where the ticks had put at least 1: only then is
  # Stop over, its wait and its seek to 0 included.
  wait_for 20 label_at_least Label4 1 || fail "Label4 does not follow the playing movie"
  click 85 297
  wait_for 15 label_reads Label4 0 || fail "Label4 is not 0 after Stop"
  seek_one_page_and_mark 102 328 Label7 5 "Select Start" "${1:-}"
  seek_one_page_and_mark 193 327 Label9 10 "Select End" "${1:-}"
}

# seek_one_page_and_mark X Y LABEL SECOND NAME [MOVIE]: a click on the
# slider's track right of the thumb, then, once the picture shows the seek
# (with MOVIE: that second of it), the mark button at client X Y, whose
# LABEL must then read SECOND.
seek_one_page_and_mark() {
  frame_shot before-seek
  click 200 269
  wait_for 15 frame_differs_from before-seek || fail "the picture does not move to second $4"
  if [ -n "${6:-}" ]; then
    fresh_shot seek || fail "no fresh screenshot after the seek"
    frame_matches_movie seek "$6" $(($4 - 1)) $(($4 + 1)) ||
      fail "the picture is not second $4 of the movie (best match $FRAME_SCORE dB)"
  fi
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

# The controls a save keeps out while it runs, by their accessible names.
SAVE_LOCKED_CONTROLS=(Play Stop Pause Open "Select Start" "Select End" Save "Play Selected" Position)

# save_locked true|false: the bus says the controls a save keeps out are
# all disabled (true) or all enabled (false); Home Page is enabled either way.
save_locked() {
  bus_tree || return 1
  local control
  for control in "${SAVE_LOCKED_CONTROLS[@]}"; do
    bus_control "$control" >/dev/null || return 1
    if [ "$1" = true ]; then
      ! bus_enabled "$control" || return 1
    else
      bus_enabled "$control" || return 1
    fi
  done
  bus_enabled "Home Page"
}
