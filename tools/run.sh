#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
# Only the program and its two plugins: a first build without the tests takes minutes, not a
# quarter of an hour. A folder tools/test.sh has built keeps its tests.
args=()
[ -f build/CMakeCache.txt ] || args=(-DBUILD_TESTING=OFF)
BUILD_TARGETS=pemira bash tools/build.sh build "${args[@]}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'TXT'
There is no display to show the window on (DISPLAY is not set).
Built program: build/bin/pemira. To run it without a screen, use a virtual one:
    apt-get install -y xvfb xauth && xvfb-run -s "-screen 0 1280x1024x24" build/bin/pemira
TXT
    exit 1
fi
exec build/bin/pemira
