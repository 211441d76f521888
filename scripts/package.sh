#!/usr/bin/env bash
# Builds the Debian package into build-package/ (trelvane_VERSION_ARCH.deb):
# a release build of the two programs installed under /usr, with the library
# dependencies read off the binaries by dpkg-shlibdeps. Extra arguments go to
# cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF "$@"
# Only what the package holds; the benches need not be built for it.
cmake --build build-package -j"$(nproc)" --target trelvane trelvane-mci trelvane_icons
(cd build-package && cpack -G DEB)
ls build-package/*.deb
