# shellcheck shell=bash
# The start of every end-to-end script, sourced as its first command so that
# it reads the script's own arguments: PROGRAM MEDIA_DIR ARTIFACTS_DIR.
# Sets program and media (absolute), ARTIFACTS, here (the script's folder),
# and brings in the helpers of scripts/lib, found beside this file.
set -euo pipefail
program=$(realpath "${1:?usage: $0 PROGRAM MEDIA_DIR ARTIFACTS_DIR}")
media=$(realpath "${2:?usage: $0 PROGRAM MEDIA_DIR ARTIFACTS_DIR}")
export ARTIFACTS=${3:?usage: $0 PROGRAM MEDIA_DIR ARTIFACTS_DIR}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/lib/e2e.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/e2e.sh"
