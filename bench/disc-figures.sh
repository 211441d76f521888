# shellcheck shell=bash
# The figures of disc-shaped movies, sourced by bench/run (whose build,
# media, sample, mpv_plain, root, median, now_ms, goal_row, row and holds it
# uses): the preview of an interlaced movie, deinterlaced, against mpv with
# the same deinterlacer; and what scratches cost the wait for the length.

# The interlaced movie: the test pattern at 50 pictures a second woven into
# 25 frames of two fields, top field first, as PAL television discs hold it.
interlaced_movie() {
  local out=$media/interlaced-pal.vob
  if [ ! -s "$out" ]; then
    ffmpeg -hide_banner -loglevel error -y \
      -f lavfi -i "testsrc=duration=14:size=720x576:rate=50" \
      -f lavfi -i "sine=frequency=440:duration=14:sample_rate=48000" \
      -vf "interlace=scan=tff:lowpass=0" -flags +ilme+ildct -top 1 \
      -target pal-dvd -b:v 6000k -shortest "$out.part" >&2
    mv "$out.part" "$out"
  fi
  echo "$out"
}

interlaced_preview_figures() {
  local movie cpu=() same=() plain=() out c ours theirs bare
  movie=$(interlaced_movie)
  for _ in 1 2 3; do
    out=$("$build/bench/preview_bench" "$movie" 10 2>/dev/null)
    cpu+=("$(sed -nE 's/^preview CPU, whole program.*: ([0-9.]+) %.*/\1/p' <<<"$out")")
    read -r c _ < <("${mpv_plain[@]}" --ao=null --geometry=273x222 --start=2 --end=12 \
      --keep-open=yes --vf=bwdif=mode=send_field:deint=interlaced \
      --script="$root/bench/mpv-preview.lua" "$movie" 2>/dev/null) || true
    same+=("$c")
    read -r c _ < <("${mpv_plain[@]}" --ao=null --geometry=273x222 --start=2 --end=12 \
      --keep-open=yes --script="$root/bench/mpv-preview.lua" "$movie" 2>/dev/null) || true
    plain+=("$c")
  done
  ours=$(printf '%s\n' "${cpu[@]}" | median)
  theirs=$(printf '%s\n' "${same[@]}" | median)
  bare=$(printf '%s\n' "${plain[@]}" | median)
  goal_row "preview of 10 s interlaced, CPU" "$ours" "% of one core" \
    "at most 1.1 x mpv, same deinterlacer" "$(holds "${ours:-1e9} <= 1.1 * ${theirs:-0}")" \
    "mpv with the same deinterlacer: $theirs %; plain mpv, not deinterlacing: $bare %"
}

# length_wait MOVIE [SHIM SETTINGS...]: ms from starting the command tool
# until it has opened MOVIE and answered its length, then the length; under
# the unreadable-medium shim when settings are given.
length_wait() {
  local movie=$1 start answer
  shift
  start=$(now_ms)
  answer=$(printf '%s\n' "open \"$movie\" type mpegvideo alias movie" 'set movie time format ms' \
    'status movie length' 'close all' |
    env ${1:+LD_PRELOAD="$build/bench/libunreadable_medium.so"} "$@" "$build/trelvane-mci" |
    sed -n 3p | cut -f2)
  echo "$(($(now_ms) - start)) $answer"
}

scratch_figures() {
  local report=$media/failed-reads.txt plain=() scratched=() wait length failed probed a b
  # Three scratches of a megabyte in the 60 s sample (about 160 kB a second).
  local settings=(TRELVANE_BAD_FILES="$sample" TRELVANE_BAD_DELAY_MS=1000
    TRELVANE_BAD_RANGES=2000000-3000000,4500000-5500000,7000000-8000000
    TRELVANE_BAD_REPORT="$report")
  for _ in 1 2 3; do
    read -r wait length < <(length_wait "$sample")
    plain+=("$wait")
    rm -f "$report"
    read -r wait length < <(length_wait "$sample" "${settings[@]}")
    scratched+=("$wait")
  done
  failed=$(sed -nE 's/^unreadable medium: ([0-9]+) failed reads$/\1/p' "$report" 2>/dev/null)
  probed=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$sample" |
    awk '{ printf "%d", $1 * 1000 }')
  a=$(printf '%s\n' "${plain[@]}" | median)
  b=$(printf '%s\n' "${scratched[@]}" | median)
  goal_row "length wait, 3 scratches, 1 s retries" "$b" "ms" \
    "at most 2 retries a scratch over the whole file" "$(holds "$b <= $a + 3 * 2 * 1000")" \
    "the same file, every read good: $a ms; ${failed:-0} failed reads in the last open; its length $length ms, ffprobe's $probed ms"
}
