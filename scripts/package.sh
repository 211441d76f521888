#!/usr/bin/env bash
# Builds the Debian package the way the distribution builds its own: debian/
# through dpkg-buildpackage, with the hardening of dpkg-buildflags and the
# library dependencies read off the binaries by dpkg-shlibdeps. The build runs
# on a copy of the tree, so that neither the build nor dpkg-buildpackage's
# output lands beside the sources.
# usage: package.sh [OUTPUT_DIR]   (default build-package/; the .deb, its
# debug symbols, the .buildinfo, the .changes and the build log, .build, end
# up there)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-package}")
bash scripts/install-deps.sh

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
tree="$out/src/trelvane-$version"
rm -rf "$out/src"
mkdir -p "$tree"
# The tree as it stands, uncommitted files included but not the build
# folders; a tree outside git is copied whole but for those.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do if [ -e "$f" ]; then printf '%s\0' "$f"; fi; done |
    tar --null -T - -cf - | tar -xf - -C "$tree"
else
  tar --exclude='./build*' --exclude=./out --exclude=./.git -cf - . | tar -xf - -C "$tree"
fi

rm -f "$out/trelvane_${version}_"* "$out/trelvane-dbgsym_${version}_"*
# The log keeps every compiler and linker command, for blhc to read.
(cd "$tree" && dpkg-buildpackage -us -uc -b) 2>&1 | tee "$out/trelvane_${version}_$arch.build"
mv "$out/src/trelvane_${version}_"* "$out/src/trelvane-dbgsym_${version}_"* "$out/"
rm -rf "$out/src"
ls "$out/trelvane_${version}_$arch.deb"
