#!/usr/bin/env bash
# Makes a title set as a disc authoring tool writes it, with the files people
# make from it, for the tests and benches that play or cut whole movies:
#
#   OUT_DIR/VIDEO_TS/VTS_01_1.VOB, _2, ...  the title, split by dvdauthor into
#       parts of at most 1 GiB; each later part's clock starts where the
#       previous one ended. Navigation packs, a cell at each chapter mark
#       (one a minute), one MPEG-2 picture stream (PAL, 720x576, 8 Mb/s) and
#       two sound streams: AC-3 and MPEG audio.
#   OUT_DIR/title.vob   the parts joined byte for byte, one continuous clock.
#   OUT_DIR/copies.vob  COPIES titles joined byte for byte (only when COPIES is
#       2 or more): each copy restarts the clock, as movies joined one after
#       another do. Four copies of a title of 18 minutes pass 4 GiB.
#   <file>.duration     ffprobe's length of each file above in seconds; for
#       copies.vob, COPIES times the title's (ffprobe measures a file whose
#       clock restarts wrongly, so it is not asked).
#
# The picture is ffmpeg's test pattern with its clock shown to the hundredth
# of a second; tests/player/TitleSetPlayerTest.cpp makes the same pattern
# afresh to tell which moment a player shows, so change both together.
# The encoder runs only on one short clip; the title repeats it by stream copy
# with a running clock, so that a title past 1 GiB takes about a minute, most
# of it disk writes. Everything is remade only when a file is missing.
#
# usage: make-title-set.sh OUT_DIR [SECONDS] [COPIES]
#   SECONDS  the title's length, rounded up to whole 24 s clips (default 120;
#            1080 gives a title just over 1 GiB, in two parts)
#   COPIES   how many titles copies.vob joins (default 1: none made)
set -euo pipefail
out=${1:?usage: make-title-set.sh OUT_DIR [SECONDS] [COPIES]}
seconds=${2:-120}
copies=${3:-1}
# 24 s holds whole PAL frames (40 ms), AC-3 frames (32 ms) and MPEG audio
# frames (24 ms), so the repeated clips join without a gap in any stream.
clip_seconds=24
clips=$(((seconds + clip_seconds - 1) / clip_seconds))

mkdir -p "$out"
cd "$out"

probe() {  # file -> file.duration
  ffprobe -v fatal -show_entries format=duration -of csv=p=0 "$1" > "$1.duration.new"
  mv "$1.duration.new" "$1.duration"
}

if [ ! -s title.vob ] || [ ! -s title.vob.duration ]; then
  rm -rf VIDEO_TS title.vob work
  mkdir work
  ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc=duration=${clip_seconds}:size=720x576:rate=25:decimals=2" \
    -f lavfi -i "sine=frequency=440:duration=${clip_seconds}:sample_rate=48000" \
    -f lavfi -i "sine=frequency=660:duration=${clip_seconds}:sample_rate=48000" \
    -map 0:v -map 1:a -map 2:a -target pal-dvd -aspect 4:3 \
    -b:v 8000k -minrate:v 8000k -maxrate:v 8000k -bufsize:v 1835k \
    -c:a:0 ac3 -b:a:0 192k -c:a:1 mp2 -b:a:1 192k -ac 2 \
    work/clip.mpg
  for ((k = 0; k < clips; k++)); do echo "file 'clip.mpg'"; done > work/clips.txt
  # The concat reader moves each repeat's stamps on by the clip's length.
  ffmpeg -hide_banner -loglevel error -y -f concat -i work/clips.txt \
    -map 0:v -map 0:a -c copy -f dvd work/title.mpg
  rm work/clip.mpg
  chapters=0
  for ((t = 60; t < clips * clip_seconds; t += 60)); do chapters+=",$t"; done
  VIDEO_FORMAT=PAL dvdauthor -o work/disc -t -v pal+4:3 -a ac3+en,mp2+de \
    -c "$chapters" work/title.mpg > work/dvdauthor.log 2>&1 ||
    { cat work/dvdauthor.log >&2; exit 1; }
  rm work/title.mpg
  mv work/disc/VIDEO_TS VIDEO_TS
  rm -rf work
  for part in VIDEO_TS/VTS_01_[1-9].VOB; do probe "$part"; done
  cat VIDEO_TS/VTS_01_[1-9].VOB > title.vob.new
  mv title.vob.new title.vob
  probe title.vob
fi

if [ "$copies" -ge 2 ] && { [ ! -s copies.vob ] || [ ! -s copies.vob.duration ]; }; then
  list=()
  for ((k = 0; k < copies; k++)); do list+=(title.vob); done
  cat "${list[@]}" > copies.vob.new
  mv copies.vob.new copies.vob
  awk -v n="$copies" '{ printf "%.6f\n", n * $1 }' title.vob.duration > copies.vob.duration
fi
