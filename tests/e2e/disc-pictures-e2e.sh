#!/usr/bin/env bash
# Movies shaped like real discs, in the real window: interlaced ones (PAL
# top field first, NTSC bottom field first, and the interlaced stretch of a
# movie that starts progressive) paused in motion show one moment, not two
# fields at once; progressive ones show theirs as they are; 16:9 ones fill
# the frame's width with bars above and below, 4:3 ones are not stretched.
# usage: disc-pictures-e2e.sh PROGRAM DISC_MEDIA_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"
# shellcheck source=../../scripts/lib/picture-measures.sh
source "$E2E_LIB/picture-measures.sh"

# The frame is 273 x 222; a picture 273 wide is 154 high at 16:9, 205 at 4:3.
frame_width=273

start_program "$program"
passed=0

# paused_in_motion FILE SECOND NAME: FILE opened, played to SECOND, paused;
# the frame then kept as crop NAME.
paused_in_motion() {
  choose_in_dialog 204 296 "$media/$1"
  wait_for 30 label_at_least Label4 "$2" || fail "$1 does not play to second $2"
  click 143 297
  wait_for 10 frame_steady || fail "$1: the picture moves on after Pause"
  frame_shot "$3"
}

for movie in interlaced-pal-tff.vob:2 interlaced-ntsc-bff.vob:2 mixed-pal.vob:8 \
  progressive-pal.vob:2 mixed-pal.vob:2; do
  name=${movie%%:*}
  second=${movie##*:}
  shown="${name%.vob}-at-$second"
  paused_in_motion "$name" "$second" "$shown"
  blend=$(blend_share "$shown")
  echo "  $name paused at second $second: $blend of the frame blends two moments"
  awk -v b="$blend" 'BEGIN { exit !(b < 0.1) }' ||
    fail "$name at second $second shows two moments at once ($blend of the frame grey; see $shown.png)"
  passed=$((passed + 1))
done

# aspect FILE HEIGHT: FILE's picture spans the frame's width and HEIGHT
# rows (within 3) between bars of equal height (within 2).
aspect() {
  local top bottom left right high
  paused_in_motion "$1" 1 "${1%.vob}"
  read -r top bottom left right < <(picture_extent "${1%.vob}")
  high=$((bottom - top + 1))
  echo "  $1: rows $top to $bottom ($high high), columns $left to $right"
  [ "$left" -le 1 ] && [ "$right" -ge $((frame_width - 2)) ] ||
    fail "$1 does not fill the frame's width (columns $left to $right)"
  [ $((high - $2)) -le 3 ] && [ $(($2 - high)) -le 3 ] ||
    fail "$1 is $high rows high, not $2"
  local above=$top below=$((222 - 1 - bottom))
  [ $((above - below)) -le 2 ] && [ $((below - above)) -le 2 ] ||
    fail "$1: bars of $above and $below rows, not equal"
  passed=$((passed + 1))
}
aspect wide-pal.vob 154
aspect wide-ntsc.vob 154
aspect standard-pal.vob 205
aspect standard-ntsc.vob 205

close_program "$program_pid"
echo "disc pictures end to end: $passed passed, 0 failed"
