#!/usr/bin/env bash
# Makes a movie of 34 cells of 3 to 15 s joined byte for byte, as a recorder
# writes them: at each cell the clock restarts, runs on, or leaps an hour
# ahead, in turn. About 120 MB. Each cell's length is kept beside the file
# (OUT.lengths, seconds per line) as the truth of how it was made.
# usage: make-cells.sh OUT
set -euo pipefail
out=${1:?usage: make-cells.sh OUT}
work=$(mktemp -d "$out.cells.XXXXXX")
trap 'rm -rf "$work"' EXIT
lengths=(7 3 12 5 15 9 4 11 6 13 8 3 10 14 5 7 12 4 9 15 6 11 3 8 13 5 10 7 14 4 9 6 12 8)
clock=0
: > "$work/lengths"
for ((k = 0; k < ${#lengths[@]}; k++)); do
  seconds=${lengths[$k]}
  case $((k % 3)) in
    0) clock=1 ;;                          # the clock restarts (from 1 s: ffmpeg moves a clock
                                           # starting at 0 half a second on)
    1) ;;                                  # it runs on from the cell before
    2) clock=$((clock + 3600)) ;;          # it leaps an hour ahead
  esac
  ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc=duration=${seconds}:size=720x480:rate=30000/1001,noise=alls=12:allf=t" \
    -f lavfi -i "sine=frequency=440:duration=${seconds}:sample_rate=48000" \
    -target ntsc-dvd -b:v 3300k -shortest -output_ts_offset "$clock" -f vob \
    "$work/cell$(printf %02d "$k").vob"
  ffprobe -v error -show_entries format=duration -of csv=p=0 \
    "$work/cell$(printf %02d "$k").vob" >> "$work/lengths"
  clock=$((clock + seconds))
done
cat "$work"/cell*.vob > "$out.making"
mv "$work/lengths" "$out.lengths"
mv "$out.making" "$out"
