#!/usr/bin/env bash
# Makes movies shaped like real discs rather than like ffmpeg's defaults, each
# beside a "<file>.duration" holding ffprobe's length of it:
#
#   interlaced-pal-tff.vob   PAL, interlaced, top field first
#   interlaced-ntsc-bff.vob  NTSC, interlaced, bottom field first
#   progressive-pal.vob      PAL, progressive, the same moving picture
#   mixed-pal.vob            a progressive stretch, then an interlaced one on
#                            one running clock, authored by dvdauthor
#   wide-pal.vob, wide-ntsc.vob  16:9 anamorphic (pixel aspect 64:45, 32:27)
#   standard-pal.vob, standard-ntsc.vob  4:3, progressive
#
# The picture: white bars 32 pixels wide, 96 apart, on black, moving right by
# 16 pixels each field (800 pixels a second). Both fields of an interlaced
# frame come from moments a field apart, so a picture that shows both at once
# is grey along every edge of a bar; one field, or a progressive frame, is
# black and white with sharp edges. In the wide and standard files the ground
# is mid grey, so that the bars around the picture show.
#
# usage: make-disc-media.sh DIR   (remade only where a file is missing)
set -euo pipefail
dir=${1:?usage: make-disc-media.sh DIR}
mkdir -p "$dir"
cd "$dir"
seconds=6

# bars RATE GROUND: the moving bars at RATE frames a second (each frame one
# field's moment) on a ground of luma GROUND.
bars() {
  echo "color=c=black:s=\$size:r=$1:d=$seconds,format=yuv420p,geq=lum='if(lt(mod(X+9600-16*N,96),32),235,$2)':cb=128:cr=128"
}

# encode OUT ntsc|pal ASPECT interlace|progressive tff|bff GROUND [ffmpeg options...]
encode() {
  local out=$1 standard=$2 aspect=$3 scan=$4 order=$5 ground=$6 size field_rate frame_rate
  shift 6
  case "$standard" in
    ntsc) size=720x480; field_rate=60000/1001; frame_rate=30000/1001 ;;
    pal) size=720x576; field_rate=50; frame_rate=25 ;;
  esac
  local source picture=() top=1
  [ "$order" = tff ] || top=0
  if [ "$scan" = interlace ]; then
    source=$(bars "$field_rate" "$ground")
    # Each frame weaves two fields of consecutive moments.
    picture=(-vf "interlace=scan=$order:lowpass=0" -flags +ilme+ildct -top "$top")
  else
    # A frame every other field's moment: 32 pixels a frame, the same speed.
    source=$(bars "$frame_rate" "$ground" | sed 's/16\*N/32*N/')
  fi
  ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i "${source//\$size/$size}" \
    -f lavfi -i "sine=frequency=440:duration=${seconds}:sample_rate=48000" \
    "${picture[@]}" -target "${standard}-dvd" -aspect "$aspect" -b:v 6000k -shortest "$@" "$out"
}

probe() {
  ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" > "$1.duration.new"
  mv "$1.duration.new" "$1.duration"
}

made() {
  [ -s "$1" ] && [ -s "$1.duration" ]
}

# one OUT ARGS...: a single movie, made as it is written.
one() {
  local out=$1
  shift
  made "$out" && return 0
  encode "$out.part" "$@"
  mv "$out.part" "$out"
  probe "$out"
}

one interlaced-pal-tff.vob pal 4:3 interlace tff 16
one interlaced-ntsc-bff.vob ntsc 4:3 interlace bff 16
one progressive-pal.vob pal 4:3 progressive tff 16
one wide-pal.vob pal 16:9 progressive tff 128
one wide-ntsc.vob ntsc 16:9 progressive tff 128
one standard-pal.vob pal 4:3 progressive tff 128
one standard-ntsc.vob ntsc 4:3 progressive tff 128

if ! made mixed-pal.vob; then
  rm -rf mixed.work
  mkdir mixed.work
  encode mixed.work/a.mpg pal 4:3 progressive tff 16
  encode mixed.work/b.mpg pal 4:3 interlace tff 16
  printf "file '%s'\n" a.mpg b.mpg > mixed.work/parts.txt
  # The concat reader moves the second part's stamps on by the first's length.
  ffmpeg -hide_banner -loglevel error -y -f concat -i mixed.work/parts.txt -c copy -f dvd \
    mixed.work/joined.mpg
  VIDEO_FORMAT=PAL dvdauthor -o mixed.work/disc -t -v pal+4:3 mixed.work/joined.mpg \
    > mixed.work/dvdauthor.log 2>&1 || { cat mixed.work/dvdauthor.log >&2; exit 1; }
  mv mixed.work/disc/VIDEO_TS/VTS_01_1.VOB mixed-pal.vob
  rm -rf mixed.work
  probe mixed-pal.vob
fi
