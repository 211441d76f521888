#!/usr/bin/env bash
# The slider's thumb dragged while the movie plays, through the real program:
# pressed, dragged to second 40 and held there across several ticks, then
# released. While it is held, Current Time goes on with the playing movie;
# after the release the movie plays on from where the thumb was dropped.
# usage: slider-drag-e2e.sh PROGRAM MEDIA_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"

# A button held when the test fails must not stay down.
before_exit() { xdotool mouseup 1 2>/dev/null; }
start_program "$program"

choose_in_dialog 204 296 "$media/ntsc60.vob"
seconds=$(awk '{ printf "%d", $1 }' "$media/ntsc60.vob.duration")
wait_for 20 label_at_least Label4 2 || fail "the movie does not play"

# The slider spans client x 9 to 290 at y 269; its 15 pixels wide thumb's
# centre runs from 16.5 to 282.5 over 0 to the movie's length.
thumb_x() { awk -v s="$1" -v n="$seconds" 'BEGIN { printf "%d", 16.5 + s * 266 / n }'; }
# thumb_centre SHOT: client x of the thumb's middle in a screenshot: the
# one run of near-white pixels along the slider's middle row, 11 wide.
thumb_centre() {
  convert "$ARTIFACTS/$1.png" -crop "281x1+$((ORIGIN_X + 9))+$((ORIGIN_Y + 269))" +repage \
    -colorspace Gray -threshold 93% txt:- |
    awk -F'[,: ]+' 'NR > 1 {
      if ($0 ~ /#FFFFFF/) { if (run == 0) first = $1; run++ } else { if (run >= 8) found = first + run / 2; run = 0 }
    } END { if (found) printf "%d", 9 + found; else exit 1 }'
}
# The thumb moves on by 4.4 pixels a second; it is pressed where a
# screenshot just showed it, the screenshot taking a fraction of that.
shot before-press
grab=$(thumb_centre before-press) || fail "no thumb found on the slider"
drop=$(thumb_x 40)
xdotool mousemove $((ORIGIN_X + grab + 1)) $((ORIGIN_Y + 270)) \
  mousemove --sync $((ORIGIN_X + grab)) $((ORIGIN_Y + 269)) mousedown 1
# In steps, as a hand drags; the last one, synced, lands on the drop.
for x in $(seq $((grab + 20)) 20 $((drop - 1))); do
  xdotool mousemove $((ORIGIN_X + x)) $((ORIGIN_Y + 269))
done
xdotool mousemove --sync $((ORIGIN_X + drop)) $((ORIGIN_Y + 269))
shot held
held_x=$(thumb_centre held) || fail "no thumb found on the slider while it is held"
# Near the pointer: the thumb snaps to whole seconds, 4.4 pixels apart.
if [ $((held_x - drop)) -lt -6 ] || [ $((held_x - drop)) -gt 6 ]; then
  fail "the thumb is at x $held_x, not under the pointer at $drop (pressed at $grab)"
fi
read_held() {
  held_at=$(label_number Label4)
  [ -n "$held_at" ]
}
wait_for 10 read_held || fail "Current Time cannot be read while the thumb is held"
[ "$held_at" -lt 30 ] || fail "Current Time reads $held_at as the drag begins, not the playing position"

# Three ticks while the thumb is held: each shows the playing position, and
# none takes the thumb from under the pointer.
wait_for 20 label_at_least Label4 $((held_at + 3)) || fail "Current Time stops while the thumb is held"
shot held-after-ticks
crop thumb-before held $((drop - 7)) 259 15 20
crop thumb-after held-after-ticks $((drop - 7)) 259 15 20
[ "$(differing_pixels thumb-before thumb-after)" = "0" ] || fail "a tick moved the held thumb"
[ "$(label_value Label4)" -lt 30 ] || fail "Current Time shows the held thumb, not the playing movie"
xdotool mouseup 1

# The release seeks to the drop: the ticks count on from second 40. Had it
# gone to where a tick put the thumb (second 10 or so), they could not
# reach 38 within 15 seconds.
wait_for 15 label_at_least Label4 38 || fail "the release did not seek to where the thumb was dropped"
after=$(label_value Label4)
echo "  held from second $held_at across ticks; dropped at 40, plays on at $after"

close_program "$program_pid"
echo "slider drag end to end: 1 passed, 0 failed"
