#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test the project.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ninja-build clang-format python3
  qt6-base-dev libgl-dev
  libmpv-dev libxcb1-dev
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev llvm
  ffmpeg mpv dvdauthor
  xvfb xdotool x11-utils xclip imagemagick openbox wmctrl strace
  dbus-daemon libglib2.0-bin at-spi2-core python3-pyatspi
  xdg-utils
  librsvg2-bin dpkg-dev desktop-file-utils appstream man-db
  debhelper lintian devscripts blhc autopkgtest
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
