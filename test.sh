#!/usr/bin/env bash
# Installs what is missing, builds Vekanto and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${VEK_BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
