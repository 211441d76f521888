#!/usr/bin/env bash
# The Debian package as a user gets it: made by cpack from the build folder,
# installed with apt-get, started from the menu's command on a virtual
# screen to play a movie chosen in the open dialog, trelvane-mci run from
# PATH, then removed without a trace. Installs on this machine, so it runs
# only as root and only where no trelvane package is installed already.
# usage: package-test.sh BUILD_DIR MEDIA_DIR ARTIFACTS_DIR
set -euo pipefail
build=${1:?build dir}
media=${2:?media dir}
export ARTIFACTS=${3:?artifacts dir}
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

work=$(mktemp -d)
program_pid=
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  stop_screen
  if dpkg-query -W trelvane >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 purge -y -qq trelvane >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The tree already built for the tests, packaged as scripts/package.sh does.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$ARTIFACTS/cpack.log")
deb=$(ls "$work"/out/trelvane_*.deb)
dpkg-deb --field "$deb" Package Version Section Maintainer Depends Description >"$ARTIFACTS/control.txt"
grep -qx 'Section: video' "$ARTIFACTS/control.txt" || fail "the package is not in section video"
grep -q '^Depends: .*libmpv' "$ARTIFACTS/control.txt" || fail "dpkg-shlibdeps found no libmpv dependency"
grep -q '^Depends: .*libqt6widgets6' "$ARTIFACTS/control.txt" || fail "no Qt dependency found"

DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 install -y -qq "$deb" >"$ARTIFACTS/apt-install.log" 2>&1 ||
  fail "apt-get could not install the package (see apt-install.log)"
# What the package holds is exactly what `cmake --install` lays out.
diff <(sed 's|^|/usr/|' "$here/installed-files.txt" | LC_ALL=C sort) \
  <(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | LC_ALL=C sort) >&2 ||
  fail "the package holds other files than the install"
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
# The name's completion list may take the first Return; a dialog still over
# the frame would pass for a picture.
if ! wait_for 3 dialog_gone; then
  xdotool key Return
  wait_for 10 dialog_gone || fail "the open dialog stays up"
fi
wait_for 20 frame_shows_movie || fail "the installed program shows no picture"
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

DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 purge -y -qq trelvane >"$ARTIFACTS/apt-remove.log" 2>&1 ||
  fail "apt-get could not remove the package"
! dpkg-query -W trelvane >/dev/null 2>&1 || fail "the package is still known to dpkg"
for f in "${owned[@]}"; do
  [ ! -e "$f" ] || fail "$f is left after the removal"
done
echo "package built, installed, used and removed: as expected"
