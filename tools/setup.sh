#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Vekanto need.
# This is the one list of the project's dependencies; it is a no-op when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  libfontconfig-dev libhyphen-dev hyphen-en-us fonts-urw-base35
  libpoppler-qt6-dev libqpdf-dev libopenjp2-7-dev liblcms2-dev libgs-common libjpeg-dev libtiff-dev
  libxml2-dev
  xvfb xauth poppler-utils librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
