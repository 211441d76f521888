# shellcheck shell=bash
# Whether the two programs are built with the distribution's hardening:
# hardening-check reads the executables, blhc the commands that built them.

# check_hardened_programs DIR: DIR/trelvane and DIR/trelvane-mci are
# position-independent, stack-protected, with read-only relocations bound
# at start, and both call the fortified functions. Debian 12 does not
# build with control-flow protection, so that is not asked for.
check_hardened_programs() {
  local dir=$1 report
  local program
  for program in trelvane trelvane-mci; do
    report=$(hardening-check --nocfprotection "$dir/$program" 2>&1) ||
      fail "hardening-check: $report"
  done
}

# check_build_log LOG: every compile and link command in LOG, a build log as
# dpkg-buildpackage writes it, carries the hardening flags of hardening=+all.
check_build_log() {
  local report
  report=$(blhc --bindnow --arch "$(dpkg-architecture -q DEB_HOST_ARCH)" "$1" 2>&1) ||
    fail "blhc finds commands without the hardening flags: $(head -c 2000 <<<"$report")"
}
