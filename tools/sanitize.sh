#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer + UndefinedBehaviorSanitizer (leak checks included)
# into build-asan (or $1) and runs every test there. Exits non-zero on any failure or report.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
dir="${1:-build-asan}"
jobs="${JOBS:-$(nproc)}"

export CCACHE_BASEDIR="$root"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPEMIRA_SANITIZE=ON >/dev/null
cmake --build "$dir" -j"$jobs"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# The browser test runs Chromium inside the instrumented process; see tools/lsan.supp for why it
# is left out here. SANITIZE_EXCLUDE adds more patterns (a ctest regular expression).
exclude="${SANITIZE_EXCLUDE:-^tst_infobrowser$}"
(cd "$dir" && ctest --output-on-failure -j"$jobs" -E "$exclude")
