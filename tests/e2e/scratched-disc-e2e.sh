#!/usr/bin/env bash
# A movie read from a scratched disc, in the real window: reads of a megabyte
# in its middle fail, each after a second of a drive's retries (the
# unreadable-medium shim). The movie plays over the scratch with Current Time
# running on past it, and a save across the scratch fails as saves do, with
# the replaced file kept as it was. The failed reads are printed.
# usage: scratched-disc-e2e.sh PROGRAM MEDIA_DIR SHIM ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"
shim=$(realpath "${3:?unreadable-medium shim}")

work=$ARTIFACTS/files
before_exit() { rm -rf "$work"; }
rm -rf "$work" && mkdir -p "$work"
# pal20.vob holds about 170 kB a second: the scratch covers about 8.8 s to
# 14.6 s of its 20, and the clip from 5 to 10 runs into it.
cp "$media/pal20.vob" "$work/scratched.vob"
head -c 300000 "$media/ntsc60.vob" >"$work/kept.vob"
kept_sum=$(sha256sum <"$work/kept.vob")
report=$ARTIFACTS/failed-reads.txt
rm -f "$report"

start_program env LD_PRELOAD="$shim" TRELVANE_BAD_FILES="$work/scratched.vob" \
  TRELVANE_BAD_RANGES=1500000-2500000 TRELVANE_BAD_DELAY_MS=1000 TRELVANE_BAD_REPORT="$report" \
  "$program"

choose_in_dialog 204 296 "$work/scratched.vob"
wait_for 20 label_at_least Label4 5 || fail "the movie does not play up to the scratch"
wait_for 40 label_at_least Label4 16 || fail "Current Time stops before the end of the scratch"
frame_shot past-scratch
wait_for 10 frame_differs_from past-scratch || fail "the picture stands still past the scratch"
echo "  Current Time passed the scratch: $(label_value Label4)"

mark_five_to_ten
choose_in_dialog 265 298 "$work/kept.vob"
wait_for 10 message_reads "File already exist.Overwrite?" || fail "no question before replacing"
xdotool key Return
expect_message "Clip not saved: input/output error"
[ "$(sha256sum <"$work/kept.vob")" = "$kept_sum" ] || fail "the replaced file changed"
wait_for 10 xdotool search --onlyvisible --name '^Trelvane 2\.0$' >/dev/null || fail "the caption stays Saving"

close_program "$program_pid"
# The shim writes its count as the program ends: the open, the playback
# over the scratch and the failed save together.
failed=$(sed -nE 's/^unreadable medium: ([0-9]+) failed reads$/\1/p' "$report")
echo "  failed reads of the open, the playback and the save: ${failed:-none counted}"
[ -n "$failed" ] && [ "$failed" -ge 2 ] && [ "$failed" -le 3 ] ||
  fail "expected 2 or 3 failed reads (at most two for the scratch, one for the save), counted ${failed:-none}"
echo "scratched disc end to end: 1 passed, 0 failed"
