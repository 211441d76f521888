#!/usr/bin/env bash
# The real program on a file joined from parts whose clocks restart and leap,
# as on discs: mark seconds 5 and 10 (in the second and third parts) with the
# slider, save the clip through the save dialog, and check its bytes against
# an independent computation from the parts' own lengths.
# usage: joined-save-e2e.sh PROGRAM MEDIA_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"
movie="$media/joined-ntsc.vob"

start_program "$program"

choose_in_dialog 204 296 "$movie"
wait_for 20 label_at_least Label4 2 || fail "the joined movie does not play"

# Stop, then two clicks on the slider's track: 5 s, then 10 s.
mark_five_to_ten
shot marked

clip="$ARTIFACTS/clip.vob"
rm -f "$clip"
choose_in_dialog 265 298 "$clip"
expect_message "Clip Saved"

# The continuous length is the sum of the parts' lengths as ffprobe measured
# each part alone, in whole seconds; ffprobe's figure for the joined file
# itself spans the leap and is no use.
seconds=$(cat "$movie".part*.duration | awk '{ sum += $1 } END { printf "%d", sum }')
bash "$here/expected-clip.sh" "$movie" "$seconds" 5 10 "$ARTIFACTS/expected.vob"
cmp "$clip" "$ARTIFACTS/expected.vob" || fail "the clip's bytes are not the marked byte range"
# The clip crosses a join, so it decodes rather than measures: count its frames.
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
  -of csv=p=0 "$clip" 2>"$ARTIFACTS/ffprobe.log" | tr -dc 0-9)
[ "${frames:-0}" -ge 120 ] || fail "ffprobe decodes $frames frames of the clip, not about 150"

close_program "$program_pid"
echo "joined file end to end: clip of $(stat -c %s "$clip") bytes, $frames frames, from a $seconds s movie"
