#!/usr/bin/env bash
# Computes, independently of the program, the bytes a saved clip must hold:
# the byte rate is the source's size over the movie's length in whole
# seconds (to the nearest byte, ties to even), the clip starts at begin ×
# rate (1-based) and runs in 20480-byte steps past end × rate, plus one byte;
# what lies past the end of the source reads as zeros.
# usage: expected-clip.sh SOURCE LENGTH_SECONDS BEGIN END OUTPUT
set -euo pipefail
source=$1 length=$2 begin=$3 end=$4 out=$5
if [ "$begin" -eq 0 ]; then begin=1; fi
size=$(stat -c %s "$source")
rate=$(awk -v s="$size" -v l="$length" 'BEGIN {
  q = s / l; f = int(q); d = q - f
  if (d > 0.5 || (d == 0.5 && f % 2 == 1)) f++
  printf "%d", f }')
start=$((rate * begin))
stop=$((rate * end))
passes=$(((stop - start) / 20480 + 1))
bytes=$((20480 * passes + 1))
dd if="$source" of="$out" bs=1M iflag=skip_bytes,count_bytes skip=$((start - 1)) \
  count="$bytes" status=none
truncate -s "$bytes" "$out"
