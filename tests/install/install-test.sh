#!/usr/bin/env bash
# `cmake --install` into a staging folder: the layout, the validators of the
# desktop, and the installed program's Home Page finding the installed guide,
# beside the build folder's program finding the source tree's through its
# link, and never that one for the installed program.
# usage: install-test.sh BUILD_DIR SOURCE_DIR ARTIFACTS_DIR
set -euo pipefail
build=${1:?build dir}
source_dir=${2:?source dir}
export ARTIFACTS=${3:?artifacts dir}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/lib/e2e.sh
source "$here/../../scripts/lib/e2e.sh"
source "$here/install-lib.sh"
source "$here/window-lib.sh"

work=$(mktemp -d)
trap 'stop_screen; rm -rf "$work"' EXIT
# A blank in the staging path, as in a user's home folder.
stage="$work/staging area"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$ARTIFACTS/install.log"
check_layout "$stage/usr"
check_metadata "$stage/usr"
# The metadata's launchable must be the installed menu entry.
tree=$(appstreamcli validate-tree --no-net "$stage" 2>&1) || fail "appstreamcli validate-tree: $tree"
! grep -E '^ *[EW]:' <<<"$tree" || fail "appstreamcli validate-tree reports errors or warnings"
cmp "$source_dir/docs/index.html" "$stage/usr/share/doc/trelvane/index.html" ||
  fail "the installed guide is not the source tree's"

start_screen
record_browser "$work"
clicks_home_page "$stage/usr/bin/trelvane" "$stage/usr/share/doc/trelvane/index.html"
clicks_home_page "$build/trelvane" "$source_dir/docs/index.html"
# Its guide removed, the installed program hands the missing page to the
# browser all the same: it never looks into the tree it was built in.
rm "$stage/usr/share/doc/trelvane/index.html"
clicks_home_page "$stage/usr/bin/trelvane" "$stage/usr/share/doc/trelvane/index.html"
echo "installed layout, validators and both Home Page layouts: as expected"
