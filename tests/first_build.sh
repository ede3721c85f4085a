#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tools/run.sh's first build: configured as it configures a fresh clone, the build holds the
# program and its two plugins and no test, benchmark, fuzz target or layer probe. Configures
# only, into a temporary folder; builds nothing.
# Usage: first_build.sh SOURCE_FOLDER
set -euo pipefail
source=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

grep -q -- '-DBUILD_TESTING=OFF' "$source/tools/run.sh" || fail "tools/run.sh keeps the tests"
cmake -S "$source" -B "$work" -G Ninja -DBUILD_TESTING=OFF >"$work/configure.log" 2>&1 \
    || { cat "$work/configure.log" >&2; fail "configure"; }
targets=$(ninja -C "$work" -t targets all | sed 's/: .*//')
extra=$(grep -E '(^|/)(tst_|bench_|fuzz_|layer_probe_)' <<<"$targets" || true)
[ -z "$extra" ] || fail "built without tests, still: $(head -5 <<<"$extra")"
for program in pemira libpemira_output.so libpemira_browser.so; do
    grep -Eq "^bin/$program$" <<<"$targets" || fail "no bin/$program"
done
echo "first build: the program and its plugins, $(grep -c '\.o$' <<<"$targets") objects"
