#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds, makes a sample movie, plays it
# for ten seconds through the media service in a video window, then starts
# the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
sample=$PWD/build/sample/sample.vob
mkdir -p build/sample
[ -s "$sample" ] || bash scripts/make-sample-vob.sh "$sample" 60 ntsc
echo "Sample movie: $sample"

if [ -n "${DISPLAY:-}" ]; then
  bash scripts/play-sample.sh "$sample"
  exec build/trelvane
fi
echo "No DISPLAY: playing on a virtual screen; the window needs a desktop." >&2
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/play-sample.sh "$sample"
