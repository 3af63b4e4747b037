#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Orvane need; installs only
# what is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-translations-l10n fonts-ipafont-gothic
  libbenchmark-dev clang clang-format libclang-rt-14-dev
  xvfb xdotool xclip imagemagick x11-utils fontconfig
  fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dbus util-linux
  desktop-file-utils appstream librsvg2-bin
  dpkg-dev lintian debootstrap wget nkf
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
