#!/usr/bin/env bash
# Takes the README's picture of the window playing a movie: the real program
# on a virtual screen, a sample opened through the open dialog as a user
# would, and a screenshot of the window once Current Time reads at least 4
# and the picture is the sample's within that same second (its counter
# showing it too where the timer's ticks allow), both read exactly from that
# screenshot.
# usage: screenshot.sh [OUTPUT.png]   (after scripts/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/trelvane-window.png}")
sample=$PWD/build/sample/sample.vob
mkdir -p build/sample "$(dirname "$out")"
[ -s "$sample" ] || bash scripts/make-sample-vob.sh "$sample" 60 ntsc

export ARTIFACTS=$PWD/build/screenshot
# shellcheck source=lib/e2e.sh
source scripts/lib/e2e.sh
start_program build/trelvane
choose_in_dialog 204 296 "$sample"
# shown_at_least SECOND ROUNDING: on one fresh screenshot, Current Time
# reads a second N of at least SECOND (and the bus says so too), and the
# picture is the sample's, the best matching of its pictures around N lying
# within second N: by its counter, which rounds the moment to the nearest
# second (ROUNDING "nearest"), or by the moment itself ("down"). Current
# Time is the whole second at the last tick, so the counter agrees only in
# the first half of a second past a tick, and never when the ticks fall in
# the second half of the movie's seconds.
shown_at_least() {
  SHOWN=$(label_number Label4) && [ -n "$SHOWN" ] && [ "$SHOWN" -ge "$1" ] &&
    frame_matches_movie now "$sample" $((SHOWN - 1)) $((SHOWN + 2)) || return 1
  local at=$FRAME_AT
  [ "$2" = down ] || at=$(awk -v t="$FRAME_AT" 'BEGIN { printf "%.2f", t + 0.5 }')
  [ "${at%.*}" = "$SHOWN" ]
}
if ! wait_for 4 shown_at_least 4 nearest; then
  wait_for 30 shown_at_least 4 down ||
    fail "no screenshot with Current Time and the picture at one second of at least 4 (read ${SHOWN:-nothing}: ${LAST_READING:-}; picture ${FRAME_SCORE:-} dB at ${FRAME_AT:-} s)"
fi
convert "$ARTIFACTS/now.png" -crop "${WINDOW_WIDTH}x${WINDOW_HEIGHT}+${ORIGIN_X}+${ORIGIN_Y}" +repage "$out"
echo "Current Time $SHOWN, the picture at $FRAME_AT s of the sample ($FRAME_SCORE dB; its counter shows the nearest second)" >&2
close_program "$program_pid"
echo "$out"
