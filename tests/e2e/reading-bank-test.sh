#!/usr/bin/env bash
# The readers the end-to-end checks rest on, against a bank of crops made
# here from the program's own painting of its window: every digit and
# numbers of up to five digits read exactly, an empty label reads empty, and
# what only looks like a label (the open dialog's stale selection over
# Label4, a half-painted label, the slider, a crop one pixel off) reads as
# unreadable; the frame counts as the movie only where it shows the movie's
# decoded picture of that moment, not a dialog's white, black or another
# second, even the next. The checks the tests used before are run on the same bank, and
# their false passes shown.
# usage: reading-bank-test.sh SCREEN_TEXT MEDIA_DIR ARTIFACTS_DIR
# shellcheck source=preamble.sh
source "$(dirname "$0")/preamble.sh"
SCREEN_TEXT=$program
movie="$media/ntsc60.vob"
# The bank is painted and read off any screen: the window's own widgets
# paint it offscreen, in the pinned font of the test screen.
pin_fonts
export QT_QPA_PLATFORM=offscreen
# Crops are taken from paintings of the window, whose client area starts at
# the painting's corner.
ORIGIN_X=0 ORIGIN_Y=0
bank=bank
mkdir -p "$ARTIFACTS/$bank"
failures=0
miss() {
  echo "  WRONG: $*"
  failures=$((failures + 1))
}

# The checks as the tests had them (OCR aside: its misreads only come after
# this gate, and the gate's verdicts are what a wait ended on).
former_frame_colourful() {  # crop
  local share
  share=$(convert "$ARTIFACTS/$1.png" -colorspace Gray -threshold 12% -format '%[fx:mean]' info:)
  awk -v share="$share" 'BEGIN { exit !(share > 0.3) }'
}
former_digit_count() {  # crop: how many digits the former reader took it to hold; 0 read as ""
  convert "$ARTIFACTS/$1.png" -colorspace Gray -threshold 60% -negate -scale 'x1!' -depth 8 txt:- |
    awk -F'[()]' 'NR > 1 { split($2, v, ","); if (v[1] + 0 > 0) { if (first == "") first = NR; last = NR } }
      END { if (first == "") print 0; else printf "%.0f\n", (last - first + 1 - 5) / 8 + 1 }'
}

# paint NAME LABEL=TEXT...: the window as its widgets paint it, as NAME.
paint() {
  local name=$1
  shift
  "$SCREEN_TEXT" window "$ARTIFACTS/$bank/$name.png" "$@" || fail "the window could not be painted"
}

# reads CROP: what the new reader makes of a crop, the way fresh_pair reads
# a label off a pair of screenshots that agree: the digits, "empty", or
# "unreadable".
reads() {
  local out image="$ARTIFACTS/$bank/$1.png" size
  size=$(identify -format '%w %h' "$image")
  # shellcheck disable=SC2086
  if out=$("$SCREEN_TEXT" agree "$image" "$image" 0 0 $size --number 0 0 $size 2>/dev/null); then
    echo "${out:-empty}"
  else
    echo unreadable
  fi
}

echo "[$SECONDS s] numbers the window paints"
# Every digit in each place of a number, the value labels' widest numbers,
# and each label.
numbers=(0 1 2 3 4 5 6 7 8 9 10 47 90 123 4567 58901 99999 12345 -3)
labels=(Label4 Label7 Label9 Label3)
read_right=0
for i in "${!numbers[@]}"; do
  label=${labels[$((i % 4))]}
  number=${numbers[$i]}
  paint "window-n$i" "$label=$number"
  # shellcheck disable=SC2046
  crop "$bank/n$i" "$bank/window-n$i" $(label_box "$label")
  got=$(reads "n$i")
  if [ "$number" = -3 ]; then
    # Not a number a label shows: its minus sign is no digit.
    [ "$got" = unreadable ] || miss "$label showing -3 reads $got"
  elif [ "$got" = "$number" ]; then
    read_right=$((read_right + 1))
  else
    miss "$label showing $number reads $got"
  fi
done
echo "  ${read_right} of $((${#numbers[@]} - 1)) numbers read exactly; -3 unreadable"

paint window-empty
# shellcheck disable=SC2046
crop "$bank/empty" "$bank/window-empty" $(label_box Label4)
[ "$(reads empty)" = empty ] || miss "the empty Label4 reads $(reads empty)"

echo "[$SECONDS s] what only looks like a label"
read -r lx ly lw lh < <(label_box Label4)
paint stale "Label4=7"
# The open dialog, unmapped but not yet painted over: its white list, and
# the end of its blue selection where Label4 lies.
convert "$ARTIFACTS/$bank/stale.png" -fill white -draw "rectangle $((lx - 40)) $((ly - 30)) $((lx + 80)) $((ly + 30))" \
  -fill '#308cc6' -draw "rectangle $((lx - 40)) $((ly + 1)) $((lx + 5)) $((ly + 11))" "$ARTIFACTS/$bank/stale.png"
crop "$bank/stale-dialog" "$bank/stale" "$lx" "$ly" "$lw" "$lh"
# The dialog's white list alone over the label.
convert -size "${lw}x${lh}" xc:white "$ARTIFACTS/$bank/white-dialog.png"
# Half painted: the top rows show 47, the rest still the label before.
paint half-new "Label4=47"
paint half-old "Label4=12"
convert "$ARTIFACTS/$bank/half-new.png" -crop "${lw}x$((lh / 2))+$lx+$ly" +repage \
  \( "$ARTIFACTS/$bank/half-old.png" -crop "${lw}x$((lh - lh / 2))+$lx+$((ly + lh / 2))" +repage \) \
  -append "$ARTIFACTS/$bank/half-painted.png"
# Left half painted: 12345's first digits, then the background still.
paint wide "Label4=12345"
convert "$ARTIFACTS/$bank/wide.png" -crop "${lw}x${lh}+$lx+$ly" +repage \
  -fill "$LABEL_BACKGROUND" -draw "rectangle 19 0 $lw $lh" "$ARTIFACTS/$bank/cut-digit.png"
# The slider, cropped to the label's size, and Label4's crop a pixel off.
crop "$bank/slider" "$bank/wide" 12 263 "$lw" "$lh"
crop "$bank/off-by-one" "$bank/wide" $((lx + 1)) $((ly - 1)) "$lw" "$lh"

for negative in stale-dialog white-dialog half-painted cut-digit slider off-by-one; do
  got=$(reads "$negative")
  former=$(former_digit_count "$bank/$negative")
  case "$former" in
    0) said='an empty label, so label_reads Label4 "" passed' ;;
    *) said="$former digit(s), handed to OCR as a number" ;;
  esac
  echo "  $negative: reads $got; the former reader took it for $said"
  [ "$got" = unreadable ] || miss "$negative reads $got"
done
# The false passes of the former reader, each one a wait that could end on
# pixels showing something else.
[ "$(former_digit_count "$bank/stale-dialog")" = 1 ] ||
  miss "the former reader no longer takes the stale selection for a digit"
[ "$(former_digit_count "$bank/white-dialog")" = 0 ] ||
  miss "the former reader no longer takes the dialog's white for an empty label"

echo "[$SECONDS s] the frame against the movie's own pictures"
# compose NAME PICTURE: the painted window with PICTURE over P.
compose() {
  convert "$ARTIFACTS/$bank/window-empty.png" "$2" -geometry "+${FRAME_BOX[0]}+${FRAME_BOX[1]}" -composite \
    "$ARTIFACTS/$bank/$1.png"
}
decoded() {  # SECOND SCALER OUT: the movie's picture at SECOND, fitted into P
  local w=${FRAME_BOX[2]} h=${FRAME_BOX[3]}
  ffmpeg -hide_banner -loglevel error -y -ss "$1" -i "$movie" -frames:v 1 -vf \
    "scale=w='iw*sar':h=ih,scale=$w:$h:force_original_aspect_ratio=decrease:flags=$2,pad=$w:$h:(ow-iw)/2:(oh-ih)/2" \
    "$3"
}
decoded 3.2 bilinear "$ARTIFACTS/$bank/second3.png"
decoded 5.2 bicubic "$ARTIFACTS/$bank/second5.png"
decoded 12.2 bicubic "$ARTIFACTS/$bank/second12.png"
compose movie-at-3 "$ARTIFACTS/$bank/second3.png"
compose movie-at-5 "$ARTIFACTS/$bank/second5.png"
compose movie-at-12 "$ARTIFACTS/$bank/second12.png"
compose white-over-P "xc:white[${FRAME_BOX[2]}x${FRAME_BOX[3]}]"
cp "$ARTIFACTS/$bank/window-empty.png" "$ARTIFACTS/$bank/black-P.png"
for case in movie-at-3:yes movie-at-5:no movie-at-12:no white-over-P:no black-P:no; do
  name=${case%%:*}
  want=${case##*:}
  if frame_matches_movie "$bank/$name" "$movie" 2 4; then got=yes; else got=no; fi
  crop "$bank/$name-P" "$bank/$name" "${FRAME_BOX[@]}"
  if former_frame_colourful "$bank/$name-P"; then former=yes; else former=no; fi
  echo "  $name as second 2 to 4 of the movie: $got ($FRAME_SCORE dB); the former check: $former"
  [ "$got" = "$want" ] || miss "$name taken for second 2 to 4: $got"
done
former_frame_colourful "$bank/white-over-P-P" || miss "the former check no longer passes the dialog's white"

[ "$failures" = 0 ] || fail "$failures reading(s) wrong"
echo "reading bank: every number exact, every look-alike unreadable, the frame judged by the movie"
