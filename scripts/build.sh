#!/usr/bin/env bash
# Configures and builds into build/ (the program is build/trelvane, the
# command-line media tool build/trelvane-mci). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja "$@"
cmake --build build -j"$(nproc)"
