#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the record-file fuzz target with clang (ASan + UBSan + libFuzzer) into build-fuzz, replays
# the seed corpus and a few generated giant files, then fuzzes for a bounded time.
# Usage: tools/fuzz.sh [seconds]   (default 60; 0 only replays). Exits non-zero on any finding;
# the input that caused it is kept under fuzz-out/.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
seconds="${1:-60}"
dir="${FUZZ_BUILD:-build-fuzz}"
jobs="${JOBS:-$(nproc)}"

export CCACHE_BASEDIR="$root"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DCMAKE_CXX_COMPILER=clang++ -DPEMIRA_SANITIZE=ON -DPEMIRA_FUZZ=ON >/dev/null
cmake --build "$dir" -j"$jobs" --target fuzz_record
fuzzer="$dir/bin/fuzz_record"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

out="$root/fuzz-out"
mkdir -p "$out/corpus" "$out/giants"
# Too big to keep in the repository: 10 MB lines of digits and of fields, a 10 MB CR-only file,
# 10 MB of zero bytes.
giants="$out/giants"
mb=$((10 * 1024 * 1024))
{ printf '1,35,170.0,22,5\r\n'; head -c $mb /dev/zero | tr '\0' '9'; printf '\r\n'; } >"$giants/digits-line.dat"
{ printf '1,35,170.0,22,5\r\n'; (set +o pipefail; yes '1e308' | head -c $mb | tr '\n' ','); printf '\r\n'; } >"$giants/fields-line.dat"
head -c $mb /dev/zero | tr '\0' '\r' >"$giants/cr-only.dat"
head -c $mb /dev/zero >"$giants/zero-bytes.dat"

echo "Replaying the seed corpus and the giant files"
status=0
"$fuzzer" -rss_limit_mb=4096 -timeout=60 "$root"/fuzz/corpus/*.dat "$giants"/*.dat \
    >"$out/replay.log" 2>&1 || status=$?
if [ $status -ne 0 ]; then
    cat "$out/replay.log" >&2
    echo "fuzz: replaying stopped with status $status" >&2
    exit $status
fi
grep -E '^Executed' "$out/replay.log" | sed "s|$root/||"

if [ "$seconds" -gt 0 ]; then
    echo "Fuzzing for $seconds s (log: $out/fuzz.log)"
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=16384 \
        -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" "$root/fuzz/corpus" \
        >"$out/fuzz.log" 2>&1 || status=$?
    grep -v -E '^#[0-9]+' "$out/fuzz.log" | tail -n 40
    grep -E '^#[0-9]+' "$out/fuzz.log" | tail -n 1
    if [ $status -ne 0 ]; then
        echo "fuzz: the fuzzer stopped with status $status; the input is kept in $out" >&2
        exit $status
    fi
fi
echo "fuzz: no findings"
