# shellcheck shell=bash
# Exact readings of the window, and what the accessibility bus says of it.
# A reading is exact or there is none: numbers and texts are rendered again
# in the screen's one font by trelvane-screen-text and compared pixel for
# pixel; the picture is compared with ffmpeg's decode of the movie. Every
# reading starts from fresh pixels (fresh_shot). Sourced by e2e.sh.

# The value labels' own background, as the window paints it.
LABEL_BACKGROUND='#e0e0e0'
# The frame P the video is drawn in, in client coordinates.
FRAME_BOX=(14 31 273 222)
# The least peak signal-to-noise ratio, in dB over the red, green and blue
# of P, at which P counts as showing a decoded picture of the movie. The
# player's scaler and ffmpeg's differ a little: the picture shown scores
# 30 to 32 dB against its own decode, the closest picture of another second
# of the test pattern (its counter and its gradient moved on) 21 to 22,
# white, black or a dialog 5 to 12.
FRAME_MATCH_DB=26

# The accessible description that tells each value label apart on the bus.
label_description() {
  case "$1" in
    Label4) echo "The playing position in seconds" ;;
    Label7) echo "The clip's begin mark in seconds" ;;
    Label9) echo "The clip's end mark in seconds" ;;
    Label3) echo "The clip's length in seconds" ;;
  esac
}

# start_bus_reader PID: one reader of the accessibility bus for the program
# PID, kept running so that each look at the tree costs a few milliseconds.
start_bus_reader() {
  stop_bus_reader
  BUS_PROGRAM=$1
  # Straight to the accessibility bus: the session bus may be another user's.
  coproc BUS_READER {
    AT_SPI_BUS_ADDRESS=${A11Y_BUS_ADDRESS:-} exec /usr/bin/python3 "$E2E_LIB/bus-tree.py" "$BUS_PROGRAM" \
      2>>"$ARTIFACTS/bus-reader.log"
  }
  BUS_READER_ID=$BUS_READER_PID
}

stop_bus_reader() {
  [ -n "${BUS_READER_ID:-}" ] || return 0
  kill "$BUS_READER_ID" 2>/dev/null || true
  wait "$BUS_READER_ID" 2>/dev/null || true
  BUS_READER_ID=
}

# bus_tree: the program's accessible objects now, into BUS_TREE and
# $ARTIFACTS/bus.txt; false while the program is not (or no longer) on the
# bus or does not answer.
bus_tree() {
  [ -n "${BUS_READER_ID:-}" ] || return 1
  local line lines=()
  echo tree >&"${BUS_READER[1]}" || return 1
  while IFS= read -r -t 15 line <&"${BUS_READER[0]}"; do
    [ "$line" != "." ] || break
    lines+=("$line")
  done
  if [ "$line" != "." ]; then
    # An answer cut off would put the next one out of step.
    start_bus_reader "$BUS_PROGRAM"
    return 1
  fi
  [ "${#lines[@]}" -gt 0 ] || return 1
  BUS_TREE=$(printf '%s\n' "${lines[@]}")
  printf '%s\n' "$BUS_TREE" >"$ARTIFACTS/bus.txt"
}

# bus_label LABEL: what BUS_TREE says LABEL shows: the number after its
# name ("Current Time: 12"), or "" for the bare name of an empty label.
bus_label() {
  awk -F'\t' -v d="$(label_description "$1")" '
    $1 == "label" && $3 == d { n = $2; sub(/^[^:]*(: )?/, "", n); print n; found = 1; exit }
    END { exit !found }' <<<"$BUS_TREE"
}

# bus_control NAME: the line of BUS_TREE for the control named NAME.
bus_control() {
  awk -F'\t' -v n="$1" '$2 == n && $1 != "label" { print; found = 1; exit } END { exit !found }' <<<"$BUS_TREE"
}

# bus_enabled NAME: true when the bus says the control NAME is enabled.
bus_enabled() {
  bus_control "$1" | awk -F'\t' '{ exit $4 != "enabled" }'
}

# window_uncovered: no other window of the program is mapped over the main
# window (a dialog, a message box, or one that has not been unmapped yet).
window_uncovered() {
  local window info x y inside
  # The picture's own windows live inside the main window.
  inside=$(xwininfo -tree -id "$MAIN_WINDOW" 2>/dev/null | grep -o '0x[0-9a-f]*' | sort -u)
  for window in $(xdotool search --onlyvisible --pid "$BUS_PROGRAM" 2>/dev/null); do
    [ "$window" != "$MAIN_WINDOW" ] || continue
    ! grep -qx "$(printf '0x%x' "$window")" <<<"$inside" || continue
    info=$(xwininfo -id "$window" 2>/dev/null) || continue
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    if awk -v x="$x" -v y="$y" -v ww="$(awk '/Width:/ {print $2}' <<<"$info")" \
      -v wh="$(awk '/Height:/ {print $2}' <<<"$info")" -v ox="$ORIGIN_X" -v oy="$ORIGIN_Y" -v w="$WINDOW_WIDTH" -v h="$WINDOW_HEIGHT" \
      'BEGIN { exit !(x < ox + w && x + ww > ox && y < oy + h && y + wh > oy) }'; then
      return 1
    fi
  done
}

# fresh_pair NAME [LABEL]: window_uncovered, then two screenshots in a row,
# the second as NAME, that agree on every control (all of the client area
# but P): whatever the step before changed has been painted by the first.
# With LABEL, LABEL is read off NAME in the same look: FRESH_READING holds
# its number ("" for an empty label), FRESH_READABLE says whether it could
# be read at all.
fresh_pair() {
  window_uncovered || return 1
  shot "$1-before"
  shot "$1"
  local reading=() out rc=0
  if [ -n "${2:-}" ]; then
    local x y w h
    read -r x y w h < <(label_box "$2")
    reading=(--number $((ORIGIN_X + x)) $((ORIGIN_Y + y)) "$w" "$h")
  fi
  out=$("$SCREEN_TEXT" agree "$ARTIFACTS/$1-before.png" "$ARTIFACTS/$1.png" "$ORIGIN_X" "$ORIGIN_Y" \
    "$WINDOW_WIDTH" "$WINDOW_HEIGHT" $((ORIGIN_X + FRAME_BOX[0])) $((ORIGIN_Y + FRAME_BOX[1])) \
    "${FRAME_BOX[2]}" "${FRAME_BOX[3]}" "${reading[@]}" 2>/dev/null) || rc=$?
  case $rc in
    0) FRESH_READING=$out FRESH_READABLE=true ;;
    4) FRESH_READING= FRESH_READABLE=false ;;
    *) return 1 ;;
  esac
}

# fresh_shot NAME [LABEL]: fresh_pair within a deadline; false when the
# window stays covered or keeps changing.
fresh_shot() {
  wait_for 10 fresh_pair "$@"
}

# label_number LABEL: the number LABEL shows now, read from fresh pixels,
# when the bus says the same just before or after the screenshots; false when
# the pixels cannot be read or the two disagree (LAST_READING says how).
label_number() {
  local before after
  bus_tree && before=$(bus_label "$1") || { LAST_READING="$1 not on the bus"; return 1; }
  fresh_shot now "$1" || { LAST_READING="no fresh screenshot"; return 1; }
  "$FRESH_READABLE" || { LAST_READING="$1 unreadable"; return 1; }
  bus_tree && after=$(bus_label "$1") || { LAST_READING="$1 not on the bus"; return 1; }
  # A playing label moves on once a second, and a look takes a while on a
  # busy machine: the pixels must match what the bus said just before or
  # just after them.
  if [ "$before" != "$FRESH_READING" ] && [ "$after" != "$FRESH_READING" ]; then
    LAST_READING="$1 shows \"$FRESH_READING\", the bus says \"$before\" then \"$after\""
    return 1
  fi
  echo "$FRESH_READING"
}

# label_value LABEL: label_number, given 10 s to become readable; the test
# fails when it does not. For reading a value and then comparing it, so that
# a check that expects "not so" cannot pass on a reader that failed.
label_value() {
  local deadline=$((SECONDS + 10)) value
  until value=$(label_number "$1"); do
    [ "$SECONDS" -lt "$deadline" ] || { label_number "$1" >/dev/null || fail "$1 cannot be read: $LAST_READING"; }
    sleep 0.2
  done
  echo "$value"
}

# label_reads LABEL NUMBER: LABEL shows exactly NUMBER now ("" for empty).
label_reads() {
  local n
  n=$(label_number "$1") || return 1
  [ "$n" = "$2" ]
}

# label_at_least LABEL NUMBER: LABEL shows a number of at least NUMBER.
label_at_least() {
  local n
  n=$(label_number "$1") || return 1
  [ -n "$n" ] && [ "$n" -ge "$2" ]
}

# frame_matches_movie SHOT MOVIE FROM TO [FILTERS]: the frame P in
# screenshot SHOT shows a picture of MOVIE from between second FROM and
# second TO (movie time as ffmpeg reads the file): some picture ffmpeg
# decodes there, FILTERS applied first (for instance "yadif" where the
# player deinterlaces), shaped to its display aspect, fitted into P with
# black bars as the player does, scores at least FRAME_MATCH_DB against P.
# Sets FRAME_SCORE to the best score, and FRAME_AT to the moment of the
# best picture (seconds, with a fraction): two pictures a frame apart score
# alike, but the one shown scores best.
frame_matches_movie() {
  local from=$3 to=$4 filters=${5:-null} rate
  [ "$from" -ge 0 ] || from=0
  local w=${FRAME_BOX[2]} h=${FRAME_BOX[3]}
  # shellcheck disable=SC2046
  crop "$1-frame" "$1" "${FRAME_BOX[@]}"
  rate=$(ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate -of csv=p=0 "$2")
  read -r FRAME_SCORE FRAME_AT < <(ffmpeg -hide_banner -loglevel error -ss "$from" -t $((to - from)) -i "$2" \
    -loop 1 -i "$ARTIFACTS/$1-frame.png" -filter_complex \
    "[0:v]$filters,scale=w='iw*sar':h=ih,scale=$w:$h:force_original_aspect_ratio=decrease,pad=$w:$h:(ow-iw)/2:(oh-ih)/2,format=rgb24[m];[1:v]format=rgb24[p];[m][p]psnr=stats_file=-" \
    -shortest -f null - 2>>"$ARTIFACTS/ffmpeg.log" |
    awk -v from="$from" -v rate="$rate" '
      BEGIN { split(rate, r, "/"); fps = r[1] / (r[2] ? r[2] : 1); m = 0; at = from }
      { for (i = 1; i <= NF; i++) {
          if ($i ~ /^n:/) n = substr($i, 3)
          if ($i ~ /^psnr_avg:/) { v = substr($i, 10); if (v == "inf") v = 99; if (v + 0 > m) { m = v + 0; at = from + (n - 1) / fps } }
      } }
      END { printf "%.1f %.2f\n", m, at }')
  awk -v s="$FRAME_SCORE" -v t="$FRAME_MATCH_DB" 'BEGIN { exit !(s >= t) }'
}

# frame_shows_movie MOVIE: P shows, on fresh pixels, the picture of MOVIE
# at the second Current Time reads (the picture may be a second ahead of it
# or behind it, as the label follows the timer).
frame_shows_movie() {
  local second
  second=$(label_number Label4) || return 1
  [ -n "$second" ] || return 1
  frame_matches_movie now "$1" $((second - 1)) $((second + 2))
}

# frame_black: P, on fresh pixels, is black to the last pixel: no picture.
frame_black() {
  fresh_shot now || return 1
  # shellcheck disable=SC2046
  crop frame now "${FRAME_BOX[@]}"
  [ "$(convert "$ARTIFACTS/frame.png" -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" = 0 ]
}

# frame_plays MOVIE FROM TO: P, on fresh pixels, shows a picture of MOVIE
# from between second FROM and second TO; for a look at the picture alone,
# where the labels are not read (a desktop's own fonts, say).
frame_plays() {
  fresh_shot now || return 1
  frame_matches_movie now "$1" "$2" "$3"
}
