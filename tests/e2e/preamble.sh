# shellcheck shell=bash
# The start of every end-to-end script, sourced as its first command so that
# it reads the script's own arguments: PROGRAM MEDIA_DIR [MORE...]
# ARTIFACTS_DIR, the artefacts always last. Sets program and media
# (absolute), ARTIFACTS, here (the script's folder), and brings in the
# helpers of scripts/lib, found beside this file.
set -euo pipefail
[ "$#" -ge 3 ] || { echo "usage: $0 PROGRAM MEDIA_DIR [MORE...] ARTIFACTS_DIR" >&2; exit 2; }
program=$(realpath "$1")
media=$(realpath "$2")
export ARTIFACTS=${!#}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/lib/e2e.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/e2e.sh"
