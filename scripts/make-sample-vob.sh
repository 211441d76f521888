#!/usr/bin/env bash
# Makes a DVD video object file from a test pattern with a running clock and a
# tone, so that a picture, a length and positions can be checked by eye.
# usage: make-sample-vob.sh OUTPUT [SECONDS] [ntsc|pal]
set -euo pipefail
out=${1:?usage: make-sample-vob.sh OUTPUT [SECONDS] [ntsc|pal]}
seconds=${2:-60}
standard=${3:-ntsc}
case "$standard" in
  ntsc) size=720x480; rate=30000/1001 ;;
  pal)  size=720x576; rate=25 ;;
  *) echo "standard must be ntsc or pal" >&2; exit 2 ;;
esac
ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "testsrc=duration=${seconds}:size=${size}:rate=${rate}" \
  -f lavfi -i "sine=frequency=440:duration=${seconds}:sample_rate=48000" \
  -target "${standard}-dvd" -b:v 1500k -shortest "$out"
