#!/usr/bin/env bash
# Drives build/trelvane-mci from outside, as a user checks the media service:
# commands on standard input, "status<TAB>answer" lines out.
# usage: mci-tool-test.sh TOOL MEDIA_DIR
set -euo pipefail
tool=${1:?tool}
media=${2:?media dir}

output=$(printf '%s\n' \
  "open \"$media/pal20.vob\" type mpegvideo alias movie" \
  'SET Movie TIME FORMAT MS' \
  'status movie length' \
  'seek movie to 5000' \
  'status movie position wait' \
  'status movie mode' \
  'frobnicate movie' \
  "open \"$media/missing.vob\" type mpegvideo alias other" \
  'close all' \
  'status movie mode' | "$tool")

mapfile -t lines <<<"$output"
fail=0
expect() {  # index pattern
  if [[ ! "${lines[$1]-}" =~ $2 ]]; then
    echo "line $1: expected /$2/, got '${lines[$1]-}'" >&2
    fail=1
  fi
}
[ "${#lines[@]}" -eq 10 ] || { echo "expected 10 lines, got ${#lines[@]}:" >&2; echo "$output" >&2; exit 1; }
probed=$(awk '{ printf "%d", $1 * 1000 + 0.5 }' "$media/pal20.vob.duration")
length=$(cut -f2 <<<"${lines[2]}")
expect 0 $'^0\t$'
expect 1 $'^0\t$'
expect 2 $'^0\t[0-9]+$'
expect 3 $'^0\t$'
expect 4 $'^0\t5000$'
expect 5 $'^0\tstopped$'
expect 6 $'^261\t$'
expect 7 $'^275\t$'
expect 8 $'^0\t$'
expect 9 $'^263\t$'
if [ $(( length > probed ? length - probed : probed - length )) -gt 100 ]; then
  echo "length $length is not within 100 ms of the probed $probed" >&2
  fail=1
fi
[ "$fail" -eq 0 ] || exit 1
echo "trelvane-mci: 10 commands answered as expected"

# A file joined from parts, whose clocks restart and leap: the tool shows the
# continuous length (the sum of the parts') and positions on it.
joined="$media/joined-ntsc.vob"
output=$(printf '%s\n' \
  "open \"$joined\" type mpegvideo alias movie" \
  'set movie time format ms' \
  'status movie length' \
  'seek movie to 10000' \
  'play movie' \
  'status movie position wait' | "$tool")
mapfile -t lines <<<"$output"
parts=$(cat "$joined".part*.duration | awk '{ sum += $1 } END { printf "%d", sum * 1000 + 0.5 }')
length=$(cut -f2 <<<"${lines[2]-}")
position=$(cut -f2 <<<"${lines[5]-}")
within() {  # value reference tolerance
  [[ "$1" =~ ^[0-9]+$ ]] && [ $(( $1 > $2 ? $1 - $2 : $2 - $1 )) -le "$3" ]
}
within "$length" "$parts" 300 || { echo "joined length '$length', parts sum to $parts" >&2; exit 1; }
within "$position" 10000 500 || { echo "position after seeking to 10000: '$position'" >&2; exit 1; }
echo "trelvane-mci: joined file of $length ms (parts: $parts ms), at $position ms after a seek to 10000"
