#!/usr/bin/env bash
# The real program, used as a person uses it: open a movie through the open
# dialog, watch it play inside the frame, pause, stop, seek with the slider,
# mark a clip, preview it, close the window.
# usage: window-e2e.sh PROGRAM MEDIA_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"

start_program "$program"
shot start
label_reads Label4 "" || fail "Label4 is not empty at start"

# Open: the dialog comes up; the path is typed as a user types it.
choose_in_dialog 204 296 "$media/ntsc60.vob"
movie="$media/ntsc60.vob"
wait_for 20 frame_shows_movie "$movie" || fail "no picture of the movie inside the frame (best match ${FRAME_SCORE:-none} dB)"
shot playing
wait_for 20 label_at_least Label4 2 || fail "Label4 does not follow playback"
for label in Label7 Label9 Label3; do
  label_reads "$label" 0 || fail "$label does not read 0 after the open"
done

# Pause: the picture stands still.
click 143 297
wait_for 10 frame_steady "$movie" || fail "the picture moves on after Pause"
shot paused

# Stop, then a click on the slider's track right of the thumb: 5 seconds
# on, marked as the start; another one, 10 seconds, as the end.
mark_five_to_ten "$movie"
wait_for 10 frame_steady || fail "the picture moves on after Stop and two seeks"
label_reads Label3 5 || fail "Label3 does not show the clip's length 5"
shot marked

# Play Selected: plays from 5 and pauses at the end mark, 10.
click 230 395
wait_for 20 label_reads Label4 10 || fail "the preview did not reach the end mark"
wait_for 10 frame_steady || fail "the preview did not pause at the end mark"
frame_steady && label_reads Label4 10 || fail "the preview went on past the end mark"
shot previewed

# Save: the marked seconds 5 to 10 through the real save dialog.
clip="$ARTIFACTS/clip.vob"
rm -f "$clip"
choose_in_dialog 265 298 "$clip"
# While the save holds the window, up to its last message, the eight buttons
# and the slider say on the bus that they take no input; Home Page does.
wait_for 60 message_reads "Clip Saved" || fail "the save says: ${LAST_MESSAGE:-nothing}"
save_locked true || fail "during the save the bus says: $(grep -E 'push button|slider' "$ARTIFACTS/bus.txt" | cut -f1,2,4 | tr '\t\n' ': ')"
expect_message "Clip Saved"
wait_for 10 save_locked false || fail "after the save the bus says: $(grep -E 'push button|slider' "$ARTIFACTS/bus.txt" | cut -f1,2,4 | tr '\t\n' ': ')"
[ -s "$clip" ] || fail "no clip written"
# The movie's length in whole seconds as ffprobe measured it, not as we did.
seconds=$(awk '{ printf "%d", $1 }' "$media/ntsc60.vob.duration")
bash "$here/expected-clip.sh" "$media/ntsc60.vob" "$seconds" 5 10 "$ARTIFACTS/expected.vob"
cmp "$clip" "$ARTIFACTS/expected.vob" || fail "the clip's bytes are not the marked byte range"
duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$clip" 2>"$ARTIFACTS/ffprobe.log")
awk -v d="$duration" 'BEGIN { exit !(d > 3.5 && d < 6.5) }' ||
  fail "ffprobe reports the clip as $duration s long, not about 5"

# Closing the window ends the program.
close_program "$program_pid"
wait "$program_pid" || fail "the program ended with status $?"
echo "window end to end: 1 passed, 0 failed"
