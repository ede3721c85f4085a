#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plants each fault of tools/mutants.txt alone into a scratch copy of the tree, rebuilds, runs the
# test suite and reports which faults no test noticed. Slow (one rebuild and suite run a fault):
# run it by hand before resolving work, not in CI.
#   bash tools/mutants.sh [scratch folder]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
scratch="${1:-/tmp/pemira-mutants}"
list="$top/tools/mutants.txt"

rm -rf "$scratch/tree"
mkdir -p "$scratch/tree"
git ls-files -z | (cd "$top" && xargs -0 tar cf -) | tar xf - -C "$scratch/tree"
cd "$scratch/tree"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY

suite() { (cd build && ctest -j2 --stop-on-failure --timeout 300 >"$scratch/last.log" 2>&1); }

echo "baseline build and suite..."
bash tools/build.sh build >"$scratch/build.log" 2>&1
if ! suite; then
    echo "the unmodified tree fails its suite: see $scratch/last.log" >&2
    exit 2
fi

killed=0 survived=0 stale=0 stillborn=0
survivors=()
while IFS= read -r line; do
    [[ -z "$line" || "$line" == \#* ]] && continue
    # A tab is whitespace to read: two in a row (an empty replacement) would merge into one.
    IFS=$'\x1f' read -r file search replace what <<<"${line//$'\t'/$'\x1f'}"
    cp "$file" "$scratch/original"
    if ! python3 - "$file" "$search" "$replace" <<'PY'
import sys
path, search, replace = sys.argv[1], sys.argv[2].replace('<NL>', '\n'), sys.argv[3].replace('<NL>', '\n')
text = open(path, encoding='utf-8').read()
if search not in text:
    sys.exit(1)
open(path, 'w', encoding='utf-8').write(text.replace(search, replace, 1))
PY
    then
        echo "STALE     $file: $what (text not found)"
        stale=$((stale + 1))
        continue
    fi
    if ! bash tools/build.sh build >"$scratch/build.log" 2>&1; then
        echo "NO BUILD  $file: $what"
        stillborn=$((stillborn + 1))
    elif suite; then
        echo "SURVIVED  $file: $what"
        survived=$((survived + 1))
        survivors+=("$what")
    else
        echo "caught    $file: $what ($(grep -E '\*\*\*|Failed|Timeout' "$scratch/last.log" | grep -m1 -oE 'tst_[a-z0-9_]+' || echo suite))"
        killed=$((killed + 1))
    fi
    cp "$scratch/original" "$file"
done <"$list"
bash tools/build.sh build >/dev/null 2>&1 || true

echo
echo "$killed caught, $survived survived, $stillborn did not build, $stale stale"
[ "$survived" -eq 0 ] && [ "$stale" -eq 0 ] && [ "$stillborn" -eq 0 ]
