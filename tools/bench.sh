#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks in Release into build-bench and prints every figure: a measurement, a
# graph, a report sheet, and start-up against the floor program, offscreen and under Xvfb.
# Usage: tools/bench.sh [bench_pemira options], e.g. --startup-runs 21
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${BENCH_BUILD:-build-bench}"
export CCACHE_BASEDIR="$PWD"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j"${JOBS:-$(nproc)}" --target bench_pemira

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
export LANG=C.UTF-8
unset DISPLAY

display_args=()
xvfb_pid=""
if command -v Xvfb >/dev/null; then
    n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    display_args=(--display ":$n")
else
    echo "Xvfb is not installed: start-up is timed offscreen only" >&2
fi

QT_QPA_PLATFORM=offscreen "$dir/bin/bench_pemira" "${display_args[@]}" "$@"
