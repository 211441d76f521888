# shellcheck shell=bash
# What a picture inside the frame looks like, measured on a crop of the
# screen (see crop in e2e.sh); sourced by the tests of disc-shaped movies.

# blend_share NAME: the share (0..1) of pixels of crop NAME that are neither
# near black nor near white. A picture of white bars on black shows them only
# along the edges its scaling softens; two moments shown at once (both fields
# of an interlaced frame) turn a band along every moving edge grey.
blend_share() {
  local above_quarter above_three_quarters
  above_quarter=$(convert "$ARTIFACTS/$1.png" -colorspace Gray -threshold 25% -format '%[fx:mean]' info:)
  above_three_quarters=$(convert "$ARTIFACTS/$1.png" -colorspace Gray -threshold 75% -format '%[fx:mean]' info:)
  awk -v a="$above_quarter" -v b="$above_three_quarters" 'BEGIN { printf "%.3f\n", a - b }'
}

# picture_extent NAME: where the picture lies in crop NAME, as "TOP BOTTOM
# LEFT RIGHT" (pixel rows and columns, the last ones included): the rows and
# columns in which at least a tenth of the pixels are not near black.
picture_extent() {
  local rows columns
  rows=$(convert "$ARTIFACTS/$1.png" -colorspace Gray -threshold 12% -scale '1x!' -depth 16 txt:- | first_last 2)
  columns=$(convert "$ARTIFACTS/$1.png" -colorspace Gray -threshold 12% -scale 'x1!' -depth 16 txt:- | first_last 1)
  echo "$rows $columns"
}

# first_last FIELD: of ImageMagick's txt: listing ("x,y: (value,...") of one
# column (FIELD 2, the row numbers) or one row (FIELD 1), the first and last
# place whose value is at least a tenth of full.
first_last() {
  sed -nE 's/^([0-9]+),([0-9]+): \(([0-9]+).*/\1 \2 \3/p' |
    awk -v field="$1" '$3 >= 6553.5 { if (first == "") first = $field; last = $field }
      END { print (first == "" ? "-1 -1" : first " " last) }'
}
