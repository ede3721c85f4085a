#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence line at the top of every source (C++, CMake, shell, Python) that lacks it:
# after a "#!" line, else first. With --check it changes nothing, lists the sources without it
# and fails if there are any.
# Usage: tools/spdx.sh [--check]
set -euo pipefail
# Read whole before running: the script is one of the files it edits.
{
cd "$(dirname "$0")/.."
check=0
[ "${1:-}" = "--check" ] && check=1
id='SPDX-License-Identifier: GPL-3.0-or-later'

# Tracked and new files alike, so that a source added since the last commit is not missed.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    list() { git ls-files -z --cached --others --exclude-standard; }
else
    list() { find . -path ./.git -prune -o -path './build*' -prune -o -type f -print0 | sed -z 's|^\./||'; }
fi

# The comment a file takes, or nothing when it is not a source.
style() {
    case $1 in
        *.cpp | *.h) echo '//' ;;
        CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py) echo '#' ;;
        *)
            # Scripts without an extension (the CI entry point) are known by their first line.
            if head -c 64 "$1" 2>/dev/null | head -1 | grep -Eq '^#!.*(bash|sh|python3?)$'; then
                echo '#'
            fi
            ;;
    esac
}

missing=()
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    marker=$(style "$file")
    [ -n "$marker" ] || continue
    line="$marker $id"
    first=$(head -1 "$file")
    if [[ $first == '#!'* ]]; then
        [ "$(sed -n 2p "$file")" = "$line" ] && continue
        at=2
    else
        [ "$first" = "$line" ] && continue
        at=1
    fi
    missing+=("$file")
    [ $check = 1 ] && continue
    tmp=$(mktemp)
    if [ $at = 2 ]; then
        { head -1 "$file"; echo "$line"; tail -n +2 "$file"; } >"$tmp"
    else
        { echo "$line"; cat "$file"; } >"$tmp"
    fi
    # Keep the file's mode (scripts stay executable).
    cat "$tmp" >"$file"
    rm -f "$tmp"
done < <(list)

if [ $check = 1 ]; then
    if [ ${#missing[@]} -gt 0 ]; then
        echo "no licence line ($id):" >&2
        printf '  %s\n' "${missing[@]}" >&2
        exit 1
    fi
    echo "every source carries the licence line"
elif [ ${#missing[@]} -gt 0 ]; then
    printf 'licence line added: %s\n' "${missing[@]}"
fi
exit
}
