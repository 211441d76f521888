#!/usr/bin/env bash
# The Debian package as the distribution would take it and a user gets it:
# built by scripts/package.sh (dpkg-buildpackage on a copy of the tree),
# judged by lintian, its build log by blhc and its programs by
# hardening-check; installed with apt-get, started from the menu's command
# on a virtual screen to play a movie chosen in the open dialog, trelvane-mci
# run from PATH, removed without a trace; then autopkgtest's tests from
# debian/tests against the same package, and removed once more. Installs on
# this machine, so it runs only as root and only where no trelvane package is
# installed already.
# usage: package-test.sh SOURCE_DIR MEDIA_DIR ARTIFACTS_DIR VERSION
set -euo pipefail
source_dir=${1:?source dir}
media=${2:?media dir}
export ARTIFACTS=${3:?artifacts dir}
version=${4:?project version}
here=$(cd "$(dirname "$0")" && pwd)
skipped=77

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
  echo "needs root and apt-get: skipped"
  exit "$skipped"
fi
if dpkg-query -W -f='${Status}' trelvane 2>/dev/null | grep -q 'install ok installed'; then
  echo "a trelvane package is installed already; left alone: skipped"
  exit "$skipped"
fi

# shellcheck source=../../scripts/lib/e2e.sh
source "$here/../../scripts/lib/e2e.sh"
source "$here/install-lib.sh"
source "$here/window-lib.sh"
source "$here/hardening-lib.sh"

work=$(mktemp -d)
program_pid=
purge() {
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 purge -y -qq trelvane
}
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  stop_screen
  if dpkg-query -W trelvane >/dev/null 2>&1; then
    purge >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# purged_without_trace: dpkg knows no trelvane and none of its files is left.
purged_without_trace() {
  ! dpkg-query -W trelvane >/dev/null 2>&1 || fail "the package is still known to dpkg"
  local f
  for f in "${owned[@]}"; do
    [ ! -e "$f" ] || fail "$f is left after the removal"
  done
}

bash "$source_dir/scripts/package.sh" "$work/out" >"$ARTIFACTS/package-build.log" 2>&1 ||
  fail "scripts/package.sh failed (see package-build.log)"
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
deb="$work/out/trelvane_${version}_$arch.deb"
[ -f "$deb" ] || fail "no trelvane_${version}_$arch.deb: debian/changelog and the project disagree on the version"

# As the archive judges it: lintian says nothing, with no override.
lintian_out=$(lintian --pedantic -I --fail-on error,warning "$work/out/trelvane_${version}_$arch.changes" \
  2>"$ARTIFACTS/lintian.stderr") || fail "lintian fails the package: $lintian_out"
[ -z "$lintian_out" ] || fail "lintian reports: $lintian_out"
check_build_log "$work/out/trelvane_${version}_$arch.build"
dpkg-deb -x "$deb" "$work/contents"
check_hardened_programs "$work/contents/usr/bin"

dpkg-deb --field "$deb" Package Version Section Maintainer Depends Description >"$ARTIFACTS/control.txt"
grep -qx 'Section: video' "$ARTIFACTS/control.txt" || fail "the package is not in section video"
grep -q '^Depends: .*libmpv' "$ARTIFACTS/control.txt" || fail "dpkg-shlibdeps found no libmpv dependency"
grep -q '^Depends: .*libqt6widgets6' "$ARTIFACTS/control.txt" || fail "no Qt dependency found"
grep -q '^Depends: .*xdg-utils' "$ARTIFACTS/control.txt" || fail "Home Page's xdg-open is not a dependency"

DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 install -y -qq "$deb" >"$ARTIFACTS/apt-install.log" 2>&1 ||
  fail "apt-get could not install the package (see apt-install.log)"
# What the package holds is what `cmake --install` lays out, the manual
# pages compressed, plus the changelog and the guide's doc-base entry.
diff <({
  sed -e 's|^|/usr/|' -e 's|/man1/\(.*\)\.1$|/man1/\1.1.gz|' "$here/installed-files.txt"
  printf '%s\n' /usr/share/doc/trelvane/changelog.gz /usr/share/doc-base/trelvane.trelvane
} | LC_ALL=C sort) \
  <(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | LC_ALL=C sort) >&2 ||
  fail "the package holds other files than the install"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  /usr/share/doc/trelvane/copyright || fail "the installed copyright is not the machine-readable one"
mapfile -t owned < <(dpkg-query -L trelvane | while read -r f; do [ -d "$f" ] || echo "$f"; done)
[ "${#owned[@]}" -ge 2 ] || fail "dpkg lists no files of the installed package"
check_metadata /usr

[ "$(command -v trelvane)" = /usr/bin/trelvane ] || fail "trelvane is not on PATH"
[ "$(command -v trelvane-mci)" = /usr/bin/trelvane-mci ] || fail "trelvane-mci is not on PATH"

# The menu's command on a screen: open a movie through the dialog.
start_screen
PATH=/usr/bin:/bin trelvane >"$ARTIFACTS/program.log" 2>&1 &
program_pid=$!
find_main_window
choose_in_dialog 204 296 "$media/pal20.vob"
# The name's completion list may take the first Return.
if ! wait_for 3 dialog_gone; then
  xdotool key Return
  wait_for 10 dialog_gone || fail "the open dialog stays up"
fi
wait_for 20 frame_shows_movie "$media/pal20.vob" ||
  fail "the installed program shows no picture of the movie (best match ${FRAME_SCORE:-none} dB)"
shot installed-playing
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=

record_browser "$work"
clicks_home_page trelvane /usr/share/doc/trelvane/index.html

output=$(printf '%s\n' "open \"$media/pal20.vob\" type mpegvideo alias movie" \
  'set movie time format ms' 'status movie mode' 'frobnicate movie' 'close all' | trelvane-mci)
[ "$output" = $'0\t\n0\t\n0\tstopped\n261\t\n0\t' ] || fail "trelvane-mci from PATH answered: $output"
man -w trelvane >/dev/null || fail "man does not find trelvane(1)"

purge >"$ARTIFACTS/apt-remove.log" 2>&1 || fail "apt-get could not remove the package"
purged_without_trace

# debian/tests against the built package, on this machine as the test bed;
# autopkgtest installs the package and leaves it installed.
rm -rf "$ARTIFACTS/autopkgtest"
autopkgtest --output-dir "$ARTIFACTS/autopkgtest" "$deb" "$source_dir" -- null \
  >"$ARTIFACTS/autopkgtest.log" 2>&1 || fail "autopkgtest fails (see autopkgtest.log)"
grep -qE '^media-tool +PASS' "$ARTIFACTS/autopkgtest/summary" || fail "autopkgtest did not pass media-tool"
grep -qE '^window +PASS' "$ARTIFACTS/autopkgtest/summary" || fail "autopkgtest did not pass window"
purge >>"$ARTIFACTS/apt-remove.log" 2>&1 || fail "apt-get could not remove the package after autopkgtest"
purged_without_trace
echo "package built, judged clean, installed, used, tested by autopkgtest and removed: as expected"
