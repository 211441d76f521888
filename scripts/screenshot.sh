#!/usr/bin/env bash
# Takes the README's picture of the window playing a movie: the real program
# on a virtual screen, a sample opened through the open dialog as a user
# would, and a screenshot of the window once a few seconds have played.
# usage: screenshot.sh [OUTPUT.png]   (after scripts/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/trelvane-window.png}")
sample=$PWD/build/sample/sample.vob
mkdir -p build/sample "$(dirname "$out")"
[ -s "$sample" ] || bash scripts/make-sample-vob.sh "$sample" 60 ntsc

export ARTIFACTS=$PWD/build/screenshot
source scripts/lib/e2e.sh
start_program build/trelvane
choose_in_dialog 204 296 "$sample"
wait_for 20 frame_colourful || fail "no picture"
wait_for 20 label_at_least Label4 4 || fail "the movie does not play"
import -window root -crop "305x457+${ORIGIN_X}+${ORIGIN_Y}" +repage "$out"
echo "$out"
