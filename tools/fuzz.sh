#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the two fuzz targets with clang (ASan + UBSan + libFuzzer) into build-fuzz: fuzz_record
# (the record file through everything that reads it) and fuzz_codec (the codec alone, read, written
# and read again). Replays the seed corpus and a few generated giant files through both, then
# fuzzes both side by side for a bounded time and prints each one's rate.
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
cmake --build "$dir" -j"$jobs" --target fuzz_record fuzz_codec
targets=(fuzz_record fuzz_codec)

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
for target in "${targets[@]}"; do
    "$dir/bin/$target" -rss_limit_mb=4096 -timeout=60 "$root"/fuzz/corpus/*.dat "$giants"/*.dat \
        >"$out/replay-$target.log" 2>&1 || status=$?
    if [ $status -ne 0 ]; then
        cat "$out/replay-$target.log" >&2
        echo "fuzz: replaying through $target stopped with status $status" >&2
        exit $status
    fi
    echo "$target: $(grep -c -E '^Executed' "$out/replay-$target.log") inputs replayed"
done

if [ "$seconds" -gt 0 ]; then
    echo "Fuzzing both targets side by side for $seconds s (logs: $out/fuzz-*.log)"
    pids=()
    for target in "${targets[@]}"; do
        mkdir -p "$out/corpus-$target"
        "$dir/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
            -max_len=16384 -print_final_stats=1 -artifact_prefix="$out/$target-" \
            "$out/corpus-$target" "$root/fuzz/corpus" >"$out/fuzz-$target.log" 2>&1 &
        pids+=($!)
    done
    failed=0
    for i in "${!targets[@]}"; do
        target="${targets[$i]}"
        result=0
        wait "${pids[$i]}" || result=$?
        log="$out/fuzz-$target.log"
        grep -E '^#[0-9]+' "$log" | tail -n 1
        rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        if [ "$target" = fuzz_codec ]; then want=">= 1000"; else want="(draws both sheets)"; fi
        printf '%-12s %8s executions/s  %10s runs  target %s\n' "$target" "${rate:-?}" \
            "${runs:-?}" "$want"
        if [ $result -ne 0 ]; then
            grep -v -E '^#[0-9]+' "$log" | tail -n 40 >&2
            echo "fuzz: $target stopped with status $result; the input is kept in $out" >&2
            failed=$result
        fi
    done
    [ $failed -eq 0 ] || exit $failed
fi
echo "fuzz: no findings"
