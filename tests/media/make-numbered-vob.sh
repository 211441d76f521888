#!/usr/bin/env bash
# Makes a .vob of NTSC parts encoded one by one and joined byte for byte, each
# part's clock starting afresh, in the shapes a disc can mix: every picture
# carries its own number on the joined movie, written as sixteen bars across
# it (bit 0 at the left, bright for one), so a test can read which picture a
# player shows and so the moment it belongs to: number * 1001 / 30000 s.
#
# Shapes: plain    4:3, one AC-3 track
#         wide     16:9, one mono MPEG audio track
#         surround 4:3, AC-3 5.1
#         dual     4:3, an AC-3 and an MPEG audio track
#
# Beside OUT, OUT.frames holds the pictures of each part.
# usage: make-numbered-vob.sh OUT SECONDS_PER_PART SHAPE...
set -euo pipefail
out=${1:?usage: make-numbered-vob.sh OUT SECONDS SHAPE...}
seconds=${2:?}
shift 2
frames=$(((seconds * 30000 + 1000) / 1001))
work="$out.work"
rm -rf "$work"
mkdir -p "$work"
parts=()
for ((k = 1; k <= $#; k++)); do
  shape=${!k}
  first=$(((k - 1) * frames))
  picture="color=c=black:s=352x240:r=30000/1001,format=yuv420p,trim=end_frame=${frames},geq=lum='if(mod(floor((N+${first})/pow(2\,floor(X*16/W)))\,2)\,220\,30)':cb=128:cr=128"
  tone="sine=frequency=440:duration=${seconds}:sample_rate=48000"
  case "$shape" in
    plain) audio=(-c:a ac3 -b:a 192k) ;;
    wide) audio=(-aspect 16:9 -c:a mp2 -ac 1 -b:a 128k) ;;
    surround) audio=(-c:a ac3 -ac 6 -b:a 384k) ;;
    dual) audio=(-map 1:a -c:a:0 ac3 -b:a:0 192k -c:a:1 mp2 -b:a:1 128k) ;;
    *) echo "unknown shape $shape" >&2; exit 2 ;;
  esac
  part="$work/part$k.vob"
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "$picture" -f lavfi -i "$tone" \
    -map 0:v -map 1:a -target ntsc-dvd -s 352x240 -b:v 1500k "${audio[@]}" -f vob "$part"
  parts+=("$part")
done
echo "$frames" > "$out.frames"
cat "${parts[@]}" > "$out.joining"
rm -rf "$work"
mv "$out.joining" "$out"
