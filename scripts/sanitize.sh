#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs the unit and integration tests there. Any report
# fails its test: undefined behaviour aborts, and leaks count except the
# third-party ones named in tests/sanitize/lsan.supp. The end-to-end window
# tests (label e2e) and the soak (label soak, which measures memory that
# the sanitizers' own bookkeeping would swamp) are left out.
# Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build-asan

# The tests that put a medium's faults under a program preload our own shims,
# which come before the sanitizer's runtime; that order is meant.
export ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitize/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# -O1 and line tables only: the reports keep their files and lines, and the
# instrumented build takes about half the time it takes at -O2 with full
# debug information.
cmake -S . -B "$build" -G Ninja -DTRELVANE_SANITIZE=ON -DTRELVANE_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" >/dev/null
# Test discovery runs the test programs, so the options above hold for the build too.
cmake --build "$build" -j"$(nproc)"
ctest_args=(--test-dir "$build" --output-on-failure -j"$(nproc)" -LE "e2e|soak" "$@")
if [ -n "${DISPLAY:-}" ]; then
  ctest "${ctest_args[@]}"
else
  xvfb-run -a -s "-screen 0 1280x1024x24 -br -nolisten tcp" ctest "${ctest_args[@]}"
fi
