#!/usr/bin/env bash
# The project's own optimised build is hardened as Debian's packages are:
# the built programs, as hardening-check reads them, and every command ninja
# runs to build them, as blhc reads a build log.
# usage: hardening-test.sh BUILD_DIR NINJA
set -euo pipefail
build=${1:?build dir}
ninja=${2:?ninja}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/hardening-lib.sh"
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

check_hardened_programs "$build"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# blhc takes a log for a build log by the line dpkg-buildpackage begins it with.
{
  echo "dpkg-buildpackage: info: source package trelvane"
  "$ninja" -C "$build" -t commands trelvane trelvane-mci
} >"$log"
check_build_log "$log"
echo "trelvane and trelvane-mci: hardened, and so is every command building them"
