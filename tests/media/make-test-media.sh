#!/usr/bin/env bash
# Makes the media files the tests play, once per build tree, beside a
# "<file>.duration" holding ffprobe's figure for each real movie so that the
# tests compare against a measurement that is not ours.
set -euo pipefail
dir=${1:?usage: make-test-media.sh DIR NOISY_CLOCK_TOOL}
noisy_clock=${2:?usage: make-test-media.sh DIR NOISY_CLOCK_TOOL}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$dir"
cd "$dir"

make_movie() {  # name seconds standard
  if [ ! -s "$1" ] || [ ! -s "$1.duration" ]; then
    bash "$here/../../scripts/make-sample-vob.sh" "$1.part" "$2" "$3"
    mv "$1.part" "$1"
    ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" > "$1.duration"
  fi
}

make_movie ntsc60.vob 60 ntsc
make_movie pal20.vob 20 pal
# Joined from parts as discs hold them: the NTSC file's clock restarts at its
# first join and leaps ahead at its second; the PAL file's starts late, then
# restarts; the last one only starts late.
make_joined() {  # name standard seconds-per-part clock-starts...
  if [ ! -s "$1" ]; then
    bash "$here/make-joined-vob.sh" "$@"
  fi
}
make_joined joined-ntsc.vob ntsc 4 0 0 600
make_joined joined-pal.vob pal 4 3000 0
make_joined late-pal.vob pal 6 3000
# Clocks that leap ahead by 3 s and by 6 s halfway through a minute.
make_joined leap3-ntsc.vob ntsc 30 0 33
make_joined leap6-ntsc.vob ntsc 30 0 36
# The same movies with every pack's clock overwritten by noise, their stamps
# left running: the player plays them as before.
make_noisy() {  # name source
  if [ ! -s "$1" ] || [ ! -s "$1.duration" ]; then
    "$noisy_clock" "$2" "$1.part" 1
    mv "$1.part" "$1"
    cp "$2.duration" "$1.duration"
  fi
}
make_noisy noisy-ntsc60.vob ntsc60.vob
make_noisy noisy-pal20.vob pal20.vob

printf 'this is a text file, not a movie\n' > text.vob
: > empty.vob
head -c 65536 /dev/urandom > random.vob
mkdir -p folder.vob
