#!/usr/bin/env bash
# The real program on four movies joined past 4 GiB, as people join whole
# titles from discs: drag the slider's thumb to a point past the 4 GiB byte,
# mark it, one page on, mark the end, save the clip through the dialog, and
# check its bytes against an independent computation and its pictures with
# ffprobe.
# usage: big-join-save-e2e.sh PROGRAM TITLE_SET_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"
movie="$media/copies.vob"
size=$(stat -c %s "$movie")
[ "$size" -gt 4294967296 ] || fail "the join is only $size bytes"
# The program's length is the sum of the copies' own lengths: whole seconds of
# COPIES times the title's length as ffprobe measures it.
seconds=$(awk '{ printf "%d", $1 }' "$movie.duration")

start_program "$program"

choose_in_dialog 204 296 "$movie"
wait_for 30 label_at_least Label4 1 || fail "the joined movie does not play"

# Stop puts the thumb at the slider's left end. Press on it, drag it to the
# right in steps, as a hand does, and let go at 95 % of the track (second
# 4126 or so of 4321, 92 MB past the 4 GiB byte).
click 85 297
wait_for 10 label_reads Label4 0 || fail "Label4 is not 0 after Stop"
wait_for 10 frame_steady || fail "the picture moves on after Stop"
shot stopped
left=$((ORIGIN_X + 14)) y=$((ORIGIN_Y + 269))
xdotool mousemove $((left + 1)) "$y" mousemove --sync "$left" "$y" mousedown 1
for x in 40 80 120 160 200 240 268; do
  xdotool mousemove --sync $((ORIGIN_X + x)) "$y"
done
xdotool mouseup 1
wait_for 20 frame_steady || fail "the picture does not settle after the drag"
shot dragged

click 102 328
wait_for 10 label_at_least Label7 1 || fail "Select Start shows no second: ${LAST_READING:-}"
begin=$(label_value Label7)
shot marked-start
rate=$(awk -v s="$size" -v l="$seconds" 'BEGIN { printf "%.0f", s / l }')
[ $((begin * rate)) -gt 4294967296 ] || fail "second $begin lies before the 4 GiB point"

# One page on: a click on the track right of the thumb.
click 285 269
wait_for 20 frame_steady || fail "the picture does not settle after the page step"
shot paged
click 193 327
end=$((begin + 5))
wait_for 5 label_reads Label9 "$end" || fail "Select End did not mark second $end"
shot marked

clip="$ARTIFACTS/clip.vob"
rm -f "$clip"
choose_in_dialog 265 298 "$clip"
wait_for 60 message_box_shown || fail "no message after the save"
wait_for 10 message_reads "Clip Saved" || fail "the save says: $LAST_MESSAGE"
shot saved
xdotool key Return
wait_for 10 message_box_gone || fail "the message box stays"

bash "$here/expected-clip.sh" "$movie" "$seconds" "$begin" "$end" "$ARTIFACTS/expected.vob"
cmp "$clip" "$ARTIFACTS/expected.vob" || fail "the clip's bytes are not the marked byte range"
rm -f "$ARTIFACTS/expected.vob"
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
  -of csv=p=0 "$clip" 2>"$ARTIFACTS/ffprobe.log" | tr -dc 0-9)
[ "${frames:-0}" -ge 100 ] || fail "ffprobe decodes $frames frames of the clip, not about 125"

wmctrl -c 'Trelvane 2.0'
wait_for 10 bash -c "! kill -0 $program_pid 2>/dev/null" || fail "the program did not end on close"
echo "join past 4 GiB end to end: seconds $begin to $end of $seconds, clip of $(stat -c %s "$clip")" \
  "bytes from byte $((begin * rate)), $frames frames"
