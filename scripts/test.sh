#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds with warnings as errors and runs
# every test. Tests that need a screen get a virtual one when none is set.
# Then the checked runs, each bounded: the tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer, and each fuzzer for TRELVANE_FUZZ_SECONDS
# (default 30), from one seed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DTRELVANE_WERROR=ON
bash scripts/check-format.sh
ctest_args=(--test-dir build --output-on-failure -j"$(nproc)" "$@")
if [ -n "${DISPLAY:-}" ]; then
  ctest "${ctest_args[@]}"
else
  xvfb-run -a -s "-screen 0 1280x1024x24 -br -nolisten tcp" ctest "${ctest_args[@]}"
fi
bash scripts/sanitize.sh
bash scripts/fuzz.sh "${TRELVANE_FUZZ_SECONDS:-30}"
