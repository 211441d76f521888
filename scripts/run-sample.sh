#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds, makes a sample movie and starts
# the program. Open the sample with the Open button; its path is printed.
# Without a desktop (no DISPLAY) the program runs on a virtual screen
# instead, opens the sample as a user would, and leaves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
sample=$PWD/build/sample/sample.vob
mkdir -p build/sample
[ -s "$sample" ] || bash scripts/make-sample-vob.sh "$sample" 60 ntsc
echo "Sample movie: $sample"

if [ -n "${DISPLAY:-}" ]; then
  exec build/trelvane
fi
echo "No DISPLAY: running the program on a virtual screen." >&2
shot=$(bash scripts/screenshot.sh build/sample/window.png)
echo "The program played the sample; screenshot: $shot"
