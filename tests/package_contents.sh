#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package built from the build folder: its name, the files an installed program needs,
# nothing outside /usr, and dependencies from the libraries it links plus a Japanese font.
# Usage: package_contents.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$work/pemira_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work")"

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '/$')
echo "$files"
expected=(
    '^\./usr/bin/pemira$'
    '^\./usr/lib/(.*/)?pemira/libpemira_output\.so$'
    '^\./usr/lib/(.*/)?pemira/libpemira_browser\.so$'
    '^\./usr/share/applications/io\.github\.pemira\.Pemira\.desktop$'
    '^\./usr/share/metainfo/io\.github\.pemira\.Pemira\.metainfo\.xml$'
    '^\./usr/share/man/man1/pemira\.1\.gz$'
    '^\./usr/share/icons/hicolor/scalable/apps/pemira\.svg$'
)
for size in 16 24 32 48 64 128 256; do
    expected+=("^\./usr/share/icons/hicolor/${size}x${size}/apps/pemira\.png$")
done
for pattern in "${expected[@]}"; do
    grep -Eq "$pattern" <<<"$files" || fail "missing $pattern"
done
outside=$(grep -v '^\./usr/' <<<"$files" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
[ "$(wc -l <<<"$files")" -eq "${#expected[@]}" ] || fail "unexpected files in the package"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in 'libqt6widgets6' 'libqt6svg6' 'fonts-ipafont-gothic | fonts-noto-cjk'; do
    grep -qF "$needed" <<<"$depends" || fail "Depends lacks $needed"
done
echo "package ok: $(basename "$deb")"
