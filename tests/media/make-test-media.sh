#!/usr/bin/env bash
# Makes the media files the tests play, once per build tree, beside a
# "<file>.duration" holding ffprobe's figure for each real movie so that the
# tests compare against a measurement that is not ours.
set -euo pipefail
dir=${1:?usage: make-test-media.sh DIR NOISY_CLOCK_TOOL [RESTAMP]}
noisy_clock=${2:?usage: make-test-media.sh DIR NOISY_CLOCK_TOOL [RESTAMP]}
restamp=${3:-}
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
# Pictures that carry their own numbers: stretches of one and two seconds, as
# a recorder cuts cells; parts of every shape joined; and clocks that wrap
# round their 33 bits, early in the file (the demuxer counts back from the
# wrap) and late in it (it counts on past the wrap), and one that wraps in
# each of two stretches.
make_numbered() {  # name seconds-per-part shapes...
  if [ ! -s "$1" ] || [ ! -s "$1.frames" ]; then
    bash "$here/make-numbered-vob.sh" "$@"
  fi
}
make_numbered short1.vob 1 $(printf 'plain %.0s' {1..20})
make_numbered short2.vob 2 $(printf 'plain %.0s' {1..10})
make_numbered shapes.vob 5 wide surround wide dual plain
make_wrapped() {  # name seconds-per-part seconds-before-wrap shapes...
  if [ -n "$restamp" ] && { [ ! -s "$1" ] || [ ! -s "$1.frames" ]; }; then
    make_numbered "$1.unwrapped" "$2" "${@:4}"
    "$restamp" "$1.unwrapped" "$3"
    mv "$1.unwrapped.frames" "$1.frames"
    mv "$1.unwrapped" "$1"
  fi
}
make_wrapped wrap-early.vob 40 20 plain
make_wrapped wrap-late.vob 90 70 plain
# Two parts whose clocks both start 10 s before the wrap: the first wraps,
# then the clock restarts from before the wrap and wraps again.
make_wrapped wrap-restart.vob 20 10 plain plain

printf 'this is a text file, not a movie\n' > text.vob
: > empty.vob
head -c 65536 /dev/urandom > random.vob
mkdir -p folder.vob
