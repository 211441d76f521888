#!/usr/bin/env bash
# Makes a .vob the way discs hold them: parts encoded one by one and joined
# byte for byte, so that the clocks restart (or leap) at each join. Each part
# is kept beside the joined file with ffprobe's length of it.
#
# The picture is flat grey whose brightness rises steadily over the whole
# joined movie, so the brightness of a frame tells the moment it shows.
#
# usage: make-joined-vob.sh OUT ntsc|pal SECONDS_PER_PART CLOCK_START...
#   one CLOCK_START (seconds) per part: 0 for a fresh clock, more for a late one
set -euo pipefail
out=${1:?usage: make-joined-vob.sh OUT ntsc|pal SECONDS CLOCK_START...}
standard=${2:?}
seconds=${3:?}
shift 3
starts=("$@")
count=${#starts[@]}
case "$standard" in
  ntsc) rate=30000/1001 ;;
  pal) rate=25 ;;
  *) echo "standard must be ntsc or pal" >&2; exit 2 ;;
esac
total=$((seconds * count))
parts=()
for ((k = 0; k < count; k++)); do
  part="$out.part$((k + 1))"
  ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i "color=c=black:s=352x240:r=${rate}:d=${seconds},format=yuv420p,geq=lum='16+(${k}*${seconds}+T)*200/${total}':cb=128:cr=128" \
    -f lavfi -i "sine=frequency=440:duration=${seconds}:sample_rate=48000" \
    -target "${standard}-dvd" -b:v 1500k -shortest -output_ts_offset "${starts[$k]}" \
    -f vob "$part"
  ffprobe -v error -show_entries format=duration -of csv=p=0 "$part" > "$part.duration"
  parts+=("$part")
done
cat "${parts[@]}" > "$out.joining"
mv "$out.joining" "$out"
