#!/usr/bin/env bash
# Installs what is missing, builds Vekanto and starts it with the given files.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh
# Screen capture, floating windows and pointer warping need X11; Wayland sessions run it through XWayland.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}
exec "${VEK_BUILD_DIR:-build}/app/vekanto" "$@"
