#!/usr/bin/env bash
# Files that cannot be played, opened through the real program as a user
# opens them: empty, cut off inside a pack, random bytes, a folder, a file the
# user may not read, names with blanks, quotes and letters beyond ASCII. Each
# has one outcome, the window goes on working, and no file is changed.
# usage: bad-open-e2e.sh PROGRAM MEDIA_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"

# The files live where any user can reach them: run by root, the program
# runs as nobody, so that a file without read permission is really denied.
work=$(mktemp -d /tmp/trelvane-bad-open.XXXXXX)
cleanup() {
  kill "${program_pid:-}" 2>/dev/null || true
  stop_screen
  chmod -R u+rwX "$work" && rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
mkdir "$work/home" "$work/files"
files="$work/files"
cp "$media/pal20.vob" "$files/good.vob"
: >"$files/empty.vob"
# 1000000 is not a multiple of the 2048-byte pack: the last pack is cut.
head -c 1000000 "$media/ntsc60.vob" >"$files/cut.vob"
head -c 65536 /dev/urandom >"$files/random.vob"
mkdir "$files/folder.vob"
cp "$media/pal20.vob" "$files/locked.vob"
chmod 000 "$files/locked.vob"
odd_name="it's a fïlm ünïcode.vob"
cp "$media/pal20.vob" "$files/$odd_name"
cp "$media/pal20.vob" "$files/clip\"good.vob"
install -m 755 "$program" "$work/trelvane"

run_as=()
if [ "$(id -u)" -eq 0 ]; then
  run_as=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups --)
  chown "$(id -u nobody):$(id -g nobody)" "$work/home"
  # The accessibility bus takes its own user and root: the program's.
  BUS_USER=nobody
fi
locked_denied=true
"${run_as[@]}" test -r "$files/locked.vob" && locked_denied=false

sums() { (cd "$files" && find . -type f -perm -u=r -print0 | sort -z | xargs -0 sha256sum; ls -la); }
sums >"$ARTIFACTS/before.txt"

start_screen
# Started in the files' folder, where the open dialog then starts: names are
# typed without a folder, as Qt's dialog takes a typed path whose folder is
# the one shown as a selection of that folder.
(cd "$files" && exec env HOME="$work/home" XDG_RUNTIME_DIR="$work/home" "${run_as[@]}" \
  "$work/trelvane") >"$ARTIFACTS/program.log" 2>&1 &
program_pid=$!
wait_for 20 xdotool search --onlyvisible --name '^Trelvane 2\.0$' >/dev/null || fail "no window shown"
find_main_window
passed=0
skipped=0

# The files of the folder the program holds open.
opened() {
  files_held "$program_pid" "$files"
}

# Escape until the dialog is gone: the first one may only close the list of
# names the dialog offers while typing. Another Escape follows only when the
# dialog has not gone after one.
cancel_dialog() {
  local _
  for _ in 1 2 3; do
    dialog_gone && return 0
    xdotool key Escape
    wait_for 3 dialog_gone && return 0
  done
  return 1
}

play_good() {
  local t=$SECONDS
  choose_in_dialog 204 296 good.vob
  wait_for 20 label_at_least Label4 1 || fail "good.vob does not play"
  echo "  (good.vob plays within $((SECONDS - t)) s)"
  [ "$(opened)" = "$files/good.vob" ] || fail "good.vob plays, but the program holds: $(opened)"
}

# The movie before is closed, nothing plays, no message: once the timer that
# the open switches on at its end has set Current Time to 0 from the good
# movie's second, the open is over.
expect_silent_refusal() {
  wait_for 10 dialog_gone || fail "$1: the dialog stays"
  local t=$SECONDS
  wait_for 20 label_reads Label4 0 || fail "$1: Current Time does not go back to 0"
  echo "  (refused within $((SECONDS - t)) s)"
  frame_black || fail "$1: a picture in the frame"
  ! message_box_shown || fail "$1: a message box"
  [ -z "$(opened)" ] || fail "$1: the program holds $(opened)"
  shot "$2"
  echo "  nothing plays, no message, the movie before is closed"
}

echo "[$SECONDS s] case: an empty file"
play_good
choose_in_dialog 204 296 empty.vob
expect_silent_refusal empty.vob empty
passed=$((passed + 1))

echo "[$SECONDS s] case: random bytes"
play_good
choose_in_dialog 204 296 random.vob
expect_silent_refusal random.vob random
passed=$((passed + 1))

if $locked_denied; then
  echo "[$SECONDS s] case: a file without read permission (as $("${run_as[@]}" id -un))"
  play_good
  choose_in_dialog 204 296 locked.vob
  expect_silent_refusal locked.vob locked
  passed=$((passed + 1))
else
  echo "SKIPPED: a file without read permission (the program's user may read any file)"
  skipped=$((skipped + 1))
fi

echo "[$SECONDS s] case: a file cut off inside a pack"
choose_in_dialog 204 296 cut.vob
wait_for 20 label_at_least Label4 1 || fail "the cut file does not play"
# It plays what is there, about 6 s, and stays on its last picture.
wait_for 30 label_reads Label4 6 || fail "the cut file does not play to its end"
# Its last picture is whole on the screen, though the pack it ends in is cut
# and ffmpeg decodes no whole picture there: it is judged against the uncut
# movie the file was cut from.
wait_for 10 frame_steady "$media/ntsc60.vob" ||
  fail "the picture moves on, or is not the movie's, at the end of the cut file (${FRAME_SCORE:-no} dB)"
label_reads Label4 6 || fail "Current Time moved past the end of the cut file"
! message_box_shown || fail "a message for the cut file"
[ "$(opened)" = "$files/cut.vob" ] || fail "the program holds $(opened), not cut.vob"
shot cut
echo "  plays to its end at second 6 and stays there"
passed=$((passed + 1))

echo "[$SECONDS s] case: a name with blanks, a single quote and letters beyond ASCII"
# The letters beyond ASCII go in by their keys, as a user's keyboard sends them.
type_odd_name() {
  xdotool type --delay 5 "it's a f"
  xdotool key idiaeresis
  xdotool type --delay 5 "lm "
  xdotool key udiaeresis
  xdotool type n
  xdotool key idiaeresis
  xdotool type --delay 5 "code.vob"
}
choose_in_dialog 204 296 "$odd_name" type_odd_name
wait_for 20 label_at_least Label4 1 || fail "the oddly named file does not play"
wait_for 10 frame_shows_movie "$files/$odd_name" || fail "no picture for the oddly named file"
[ "$(opened)" = "$files/$odd_name" ] || fail "the program holds $(opened), not $odd_name"
shot odd-name
echo "  plays"
passed=$((passed + 1))

echo "[$SECONDS s] case: a name with a double quote"
# Qt's dialog alone reads clip"good.vob as the list (clip) "good.vob" and
# takes good.vob; the open command could not carry the quote either.
enter_in_dialog 204 296 'clip"good.vob'
# The program's own message box, titled like every other it shows.
wait_for 10 message_box_shown || fail "no warning over the dialog"
wait_for 10 message_reads 'File names with a double quote (") cannot be used.' ||
  fail "the warning reads: ${LAST_MESSAGE:-nothing}"
cp "$ARTIFACTS/bus.txt" "$ARTIFACTS/warning-bus.txt"
echo "  warning: File names with a double quote (\") cannot be used."
xdotool key Return
wait_for 10 message_box_gone || fail "the warning stays"
cancel_dialog || fail "the dialog does not close on Escape"
[ -z "$(opened)" ] || fail "the program holds $(opened) after the refused name"
passed=$((passed + 1))

echo "[$SECONDS s] case: a folder"
enter_in_dialog 204 296 folder.vob
# The dialog goes into the folder, which is empty, and stays up.
wait_for 10 bash -c "xwininfo -id \$(xdotool search --onlyvisible --name '^Open\$' | head -n 1) >/dev/null" ||
  fail "the dialog closed on a folder"
# What a screen reader hears of the dialog: "Look in" names the folder, the
# list of files is there, and none of the files beside the folder is in it.
folder_view() {
  bus_tree || return 1
  FOLDER_TEXT=$(awk -F'\t' '$1 == "combo box" || $1 == "tree" || $1 == "table cell" { print $1 ": " $2 }' \
    <<<"$BUS_TREE" | paste -sd ';')
  awk -F'\t' -v folder="$files/folder.vob" '
    $1 == "combo box" && $2 == folder { looks_in = 1 }
    $1 == "tree" && $2 == "Files" { lists = 1 }
    $2 == "good.vob" || $2 == "empty.vob" { listed = 1 }
    END { exit !(looks_in && lists && !listed) }' <<<"$BUS_TREE"
}
wait_for 10 folder_view || fail "the dialog does not show the folder's inside; the bus says: ${FOLDER_TEXT:-nothing}"
shot folder
cancel_dialog || fail "the dialog does not close on Escape"
[ -z "$(opened)" ] || fail "the program holds $(opened) after the folder"
echo "  the dialog goes into the folder and stays up"
passed=$((passed + 1))

# The window still works, and no file was changed, added or removed.
play_good
sums >"$ARTIFACTS/after.txt"
diff "$ARTIFACTS/before.txt" "$ARTIFACTS/after.txt" || fail "the files changed"
close_program "$program_pid"
echo "bad opens end to end: $passed passed, $skipped skipped, 0 failed"
