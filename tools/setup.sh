#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Vekanto need.
# This is the one list of the project's dependencies; it is a no-op when all are present.
# Usage: tools/setup.sh [fuzz|sanitize]
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  # faces of the metric-compatible families that tests draw in every style
  fonts-liberation
  libfontconfig-dev libhyphen-dev hyphen-en-us fonts-urw-base35
  # hyphenation dictionaries of the languages Debian ships, looked up by the text's language
  hyphen-af hyphen-as hyphen-be hyphen-bg hyphen-bn hyphen-ca hyphen-cs hyphen-da hyphen-de
  hyphen-el hyphen-en-gb hyphen-es hyphen-fr hyphen-gl hyphen-gu hyphen-hi hyphen-hr hyphen-hu
  hyphen-id hyphen-is hyphen-it hyphen-kn hyphen-lt hyphen-lv hyphen-ml hyphen-mn hyphen-mr
  hyphen-nl hyphen-no hyphen-or hyphen-pa hyphen-pl hyphen-pt-br hyphen-pt-pt hyphen-ro hyphen-ru
  hyphen-sk hyphen-sl hyphen-sr hyphen-sv hyphen-ta hyphen-te hyphen-th hyphen-uk hyphen-zu
  libpoppler-qt6-dev libqpdf-dev libopenjp2-7-dev liblcms2-dev libgs-common libjpeg-dev libtiff-dev
  libxml2-dev zlib1g-dev
  # compresses the page contents of written PDF
  libdeflate-dev
  # the image filters run on GEGL where it has an operation for them
  libgegl-dev
  # caps lock through the X server's keyboard extension (Xlib)
  libx11-dev
  # the updater extracts the downloaded archive
  libarchive-dev
  xvfb xauth poppler-utils librsvg2-bin libxml2-utils qpdf ghostscript
  # librsvg linked into the SVG import benchmark, the peer it is measured against
  librsvg2-dev
  # GNU time: the peak memory of whole processes in the export and thumbnail benchmarks
  time
  locales
  # the palette's icons are SVG resources (Qt SVG's icon engine draws them)
  qt6-svg-dev
  # the install test validates the desktop entry and the AppStream metainfo
  desktop-file-utils appstream
)
# `tools/setup.sh fuzz`: also the clang toolchain the libFuzzer targets build with (see fuzz/):
# clang 16, the first to take the parenthesised aggregate initialisation (`Point(x, y)`) the
# code uses, with its fuzzer and sanitizer runtimes and the symbolizer for their reports.
# `tools/setup.sh sanitize` (tools/sanitize.sh) needs the same toolchain.
if [ "${1:-}" = fuzz ] || [ "${1:-}" = sanitize ]; then
  packages+=(clang-16 libclang-rt-16-dev llvm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A decimal-comma locale, so the tests can check that stored numbers stay in the C locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
