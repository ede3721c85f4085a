#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into ./build (or $1); further arguments go to cmake. BUILD_TARGETS names
# the targets to build (default: all).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
export CCACHE_BASEDIR="$PWD"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
targets=()
for target in ${BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
