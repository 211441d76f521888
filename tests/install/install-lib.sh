# Checks shared by the install tests: what an installed Trelvane must hold
# under a prefix, judged by the desktop's own validators.

here_install=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# installed_files ROOT: the files and links under ROOT, relative, sorted.
installed_files() {
  (cd "$1" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
}

# check_layout PREFIX: exactly the expected files, each fit for its use.
check_layout() {
  local prefix=$1 want
  want=$(LC_ALL=C sort "$here_install/installed-files.txt")
  diff <(echo "$want") <(installed_files "$prefix") >&2 ||
    fail "the installed files differ from the expected layout (- expected, + found)"
  local program
  for program in trelvane trelvane-mci; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
  done
  local size png
  for size in 16 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/io.github.trelvane.Trelvane.png"
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "icon $png is not $size px"
  done
}

# check_metadata PREFIX: the menu entry, the AppStream data and the manual
# pages pass their validators without a word.
check_metadata() {
  local prefix=$1 out
  local desktop="$prefix/share/applications/io.github.trelvane.Trelvane.desktop"
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed: $out"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
  grep -qx 'Exec=trelvane' "$desktop" || fail "the entry does not start trelvane without arguments"
  grep -qx 'Icon=io.github.trelvane.Trelvane' "$desktop" || fail "the entry names another icon"

  out=$(appstreamcli validate --no-net "$prefix/share/metainfo/io.github.trelvane.Trelvane.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate failed: $out"
  ! grep -E '^ *[EW]:' <<<"$out" || fail "appstreamcli reports errors or warnings"

  local page file
  for page in trelvane trelvane-mci; do
    # A Debian package holds them compressed.
    file="$prefix/share/man/man1/$page.1"
    [ -e "$file" ] || file="$file.gz"
    out=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man $page warns: $out"
    MANWIDTH=80 man -l "$file" 2>/dev/null | grep -q "^NAME" ||
      fail "man $page renders no NAME section"
  done
}
