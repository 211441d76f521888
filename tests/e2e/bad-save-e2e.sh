#!/usr/bin/env bash
# Saves that cannot be completed, through the real program: a target on a
# full file system, a target past the file size limit, an existing file the
# user keeps or gives up. Each ends with the program's own words, the source
# is never changed, and the program lives on.
# usage: bad-save-e2e.sh PROGRAM MEDIA_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"

# The file size limit set on the running program for one save: a quarter
# of the marked clip of about 850 KB.
size_limit=$((256 * 1024))
work="$ARTIFACTS/files"
full="$ARTIFACTS/full"
mounted=false
cleanup() {
  kill "${program_pid:-}" 2>/dev/null || true
  if $mounted; then umount "$full" || true; fi
  stop_screen
}
trap cleanup EXIT
rm -rf "$work" && mkdir -p "$work" "$full"
cp "$media/pal20.vob" "$work/movie.vob"
head -c 300000 "$media/ntsc60.vob" >"$work/kept.vob"
source_sum=$(sha256sum <"$work/movie.vob")
kept_sum=$(sha256sum <"$work/kept.vob")

start_screen
# Started in the movie's folder, where the open dialog then starts.
(cd "$work" && exec "$program") >"$ARTIFACTS/program.log" 2>&1 &
program_pid=$!
wait_for 20 xdotool search --onlyvisible --name '^Trelvane 2\.0$' >/dev/null || fail "no window shown"
find_main_window

choose_in_dialog 204 296 movie.vob
wait_for 20 label_at_least Label4 2 || fail "the movie does not play"
mark_five_to_ten
shot marked
passed=0
skipped=0

# save_to TARGET: a save to TARGET through the save dialog.
save_to() {
  choose_in_dialog 265 298 "$1"
}

alive() {
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended: $(tail -n 3 "$ARTIFACTS/program.log")"
}

echo "[$SECONDS s] case: an existing file, not replaced"
save_to "$work/kept.vob"
wait_for 10 message_reads "File already exist.Overwrite?" || fail "no question before replacing (read: ${LAST_MESSAGE:-nothing})"
shot replace-question
xdotool key n
wait_for 10 message_box_gone || fail "the question stays after No"
wait_for 10 xdotool search --onlyvisible --name '^Trelvane 2\.0$' >/dev/null || fail "the caption stays Saving"
! message_box_shown || fail "a message after keeping the file"
[ "$(sha256sum <"$work/kept.vob")" = "$kept_sum" ] || fail "the kept file changed"
passed=$((passed + 1))

echo "[$SECONDS s] case: a target past the file size limit"
# Only the soft limit: the program may raise it again, as after this save.
prlimit --pid "$program_pid" --fsize="$size_limit:unlimited"
save_to "$work/too-large.vob"
expect_message "Clip not saved: file too large"
alive
prlimit --pid "$program_pid" --fsize=unlimited:unlimited
size=$(stat -c %s "$work/too-large.vob")
[ "$size" -le "$size_limit" ] || fail "the target grew past the limit to $size bytes"
echo "  written: $size bytes, the limit is $size_limit"
passed=$((passed + 1))

if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256k trelvane-full "$full"; then
  mounted=true
  echo "[$SECONDS s] case: a target on a full file system"
  save_to "$full/clip.vob"
  expect_message "Clip not saved: disk full"
  alive
  echo "  written: $(stat -c %s "$full/clip.vob") bytes of 256 KiB"
  rm -f "$full/clip.vob"
  passed=$((passed + 1))

  echo "[$SECONDS s] case: an existing file replaced on a full file system"
  head -c 100000 "$media/ntsc60.vob" >"$full/old.vob"
  save_to "$full/old.vob"
  wait_for 10 message_reads "File already exist.Overwrite?" || fail "no question before replacing"
  xdotool key Return
  expect_message "Clip not saved: disk full"
  # The user agreed to replace it, but the clip never came whole: the old
  # file stays as it was, and nothing half written is left beside it.
  cmp -s "$full/old.vob" <(head -c 100000 "$media/ntsc60.vob") || fail "the file to be replaced was changed"
  [ "$(ls -A "$full")" = "old.vob" ] || fail "left beside it: $(ls -A "$full")"
  echo "  the file to be replaced is unchanged"
  passed=$((passed + 1))
else
  echo "SKIPPED: a target on a full file system (needs root to mount a small tmpfs)"
  skipped=$((skipped + 2))
fi

# After all that, a save that can succeed still does, and the source is as it was.
echo "[$SECONDS s] case: a good save afterwards"
rm -f "$ARTIFACTS/clip.vob"
save_to "$ARTIFACTS/clip.vob"
expect_message "Clip Saved"
seconds=$(awk '{ printf "%d", $1 }' "$media/pal20.vob.duration")
bash "$here/expected-clip.sh" "$media/pal20.vob" "$seconds" 5 10 "$ARTIFACTS/expected.vob"
cmp "$ARTIFACTS/clip.vob" "$ARTIFACTS/expected.vob" || fail "the clip's bytes are not the marked byte range"
passed=$((passed + 1))

[ "$(sha256sum <"$work/movie.vob")" = "$source_sum" ] || fail "the source changed"

echo "[$SECONDS s] case: the window closed during a save that replaces a file"
# Closed right after the Yes, while the copy runs, or on a fast machine
# while "Clip Saved" holds the window: either way the program ends at once
# and leaves the old file or the whole clip, and nothing beside it.
cp "$work/kept.vob" "$work/replaced.vob"
save_to "$work/replaced.vob"
wait_for 10 message_reads "File already exist.Overwrite?" || fail "no question before replacing"
xdotool key Return
wmctrl -i -c "$MAIN_WINDOW"
if ! wait_for 10 bash -c "! kill -0 $program_pid 2>/dev/null"; then
  wait_for 10 message_reads "Clip Saved" || fail "the program neither ended nor said Clip Saved"
  xdotool key Return
  wait_for 10 message_box_gone || fail "the message box stays"
  wmctrl -i -c "$MAIN_WINDOW"
  wait_for 10 bash -c "! kill -0 $program_pid 2>/dev/null" || fail "the program did not end on close"
fi
if cmp -s "$work/replaced.vob" "$work/kept.vob"; then
  echo "  ended before the clip was whole: the old file is as it was"
else
  cmp "$work/replaced.vob" "$ARTIFACTS/expected.vob" || fail "the file is neither the old one nor the clip"
  echo "  ended once the clip was whole: the file is the clip"
fi
left=$(ls -A "$work" | tr '\n' ' ')
[ "$left" = "kept.vob movie.vob replaced.vob too-large.vob " ] || fail "left beside it: $left"
passed=$((passed + 1))
echo "bad saves end to end: $passed passed, $skipped skipped, 0 failed"
