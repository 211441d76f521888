#!/usr/bin/env bash
# The movie's file removed under the real program: while it plays, before a
# save, and in the middle of a save. Playing and a started copy go on from
# the file the program holds open; a save started after the removal says so.
# usage: removed-source-e2e.sh PROGRAM MEDIA_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"

work="$ARTIFACTS/files"
out="$ARTIFACTS/out"
rm -rf "$work" "$out" && mkdir -p "$work" "$out"
cp "$media/pal20.vob" "$work/doomed.vob"
cp "$media/pal20.vob" "$work/movie.vob"

# A copy takes a few milliseconds; to remove the source in the middle of
# one, each write of the program is held back by 60 ms (42 chunks: 2.5 s).
# Only writes are stopped at, so nothing else is slowed.
slowed=(strace -f -qq --seccomp-bpf -o /dev/null -e trace=pwrite64 -e inject=pwrite64:delay_enter=60000)
if ! "${slowed[@]}" true 2>/dev/null; then
  slowed=()
fi

start_screen
(cd "$work" && exec "${slowed[@]}" "$program") >"$ARTIFACTS/program.log" 2>&1 &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true; stop_screen' EXIT
wait_for 20 xdotool search --onlyvisible --name '^Trelvane 2\.0$' >/dev/null || fail "no window shown"
find_main_window
program_pid=$(xdotool getwindowpid "$MAIN_WINDOW")
passed=0
skipped=0

held() {
  files_held "$program_pid" "$work"
}

echo "[$SECONDS s] case: the movie's file removed while it plays"
choose_in_dialog 204 296 doomed.vob
wait_for 20 label_at_least Label4 2 || fail "the movie does not play"
rm "$work/doomed.vob"
wait_for 15 label_at_least Label4 5 || fail "playing stopped when the file was removed"
wait_for 10 frame_shows_movie "$media/pal20.vob" || fail "the picture went when the file was removed (best match ${FRAME_SCORE:-none} dB)"
[ "$(held)" = "$work/doomed.vob (deleted)" ] || fail "the program holds: $(held)"
shot removed-while-playing
echo "  plays on from the file it holds"
passed=$((passed + 1))

echo "[$SECONDS s] case: a save after the movie's file was removed"
mark_five_to_ten
choose_in_dialog 265 298 "$out/after-removal.vob"
expect_message "Clip not saved: no such file or directory"
[ ! -e "$out/after-removal.vob" ] || fail "a target was made for a source that is gone"
passed=$((passed + 1))

if [ "${#slowed[@]}" -gt 0 ]; then
  echo "[$SECONDS s] case: the movie's file removed in the middle of a save"
  # The dialog now starts where the last target went.
  choose_in_dialog 204 296 "$work/movie.vob"
  wait_for 20 label_at_least Label4 2 || fail "the movie does not play"
  mark_five_to_ten
  choose_in_dialog 265 298 "$out/clip.vob"
  # Two chunks written, the message not yet shown: the copy is under way.
  wait_for 10 bash -c "[ \"\$(stat -c %s '$out/clip.vob' 2>/dev/null || echo 0)\" -ge 40962 ]" ||
    fail "the copy does not start"
  rm "$work/movie.vob"
  message_box_shown && fail "the copy was over before the source was removed"
  expect_message "Clip Saved"
  seconds=$(awk '{ printf "%d", $1 }' "$media/pal20.vob.duration")
  bash "$here/expected-clip.sh" "$media/pal20.vob" "$seconds" 5 10 "$ARTIFACTS/expected.vob"
  cmp "$out/clip.vob" "$ARTIFACTS/expected.vob" || fail "the clip's bytes are not the marked byte range"
  echo "  the copy goes on from the file it holds; the clip is whole"
  passed=$((passed + 1))
else
  echo "SKIPPED: the movie's file removed in the middle of a save (strace cannot slow the program here)"
  skipped=$((skipped + 1))
fi

close_program "$program_pid"
echo "removed source end to end: $passed passed, $skipped skipped, 0 failed"
