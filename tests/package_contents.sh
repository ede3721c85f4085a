#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package built from the build folder: its name, the files an installed program needs,
# nothing outside /usr, dependencies from the libraries it links plus a Japanese font, its
# copyright and changelog, hardened and stripped binaries, and the same bytes from a second build.
# With "lintian" instead: what Debian's own checker says of it (skipped when not installed).
# Usage: package_contents.sh BUILD_FOLDER [lintian]
set -euo pipefail
build=$(cd "$1" && pwd)
mode=${2:-contents}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$mode" = lintian ] && ! command -v lintian >/dev/null; then
    echo "SKIP: lintian is not installed (tools/setup.sh --test installs it)"
    exit 77
fi
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
# Packs into FOLDER; prints the package's path.
pack() {
    mkdir -p "$1"
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$1" >"$1/cpack.log" 2>&1 \
        || { cat "$1/cpack.log" >&2; fail "cpack -G DEB"; }
    local deb="$1/pemira_${version}_$(dpkg --print-architecture).deb"
    [ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$1")"
    echo "$deb"
}
deb=$(pack "$work/first")

if [ "$mode" = lintian ]; then
    # As root lintian remarks on it on stderr; the verdict is on stdout.
    lintian --pedantic --info "$deb" >"$work/lintian.log" 2>/dev/null || true
    cat "$work/lintian.log"
    ! grep -Eq '^[EW]: ' "$work/lintian.log" || fail "lintian reports errors or warnings"
    echo "lintian: no errors, no warnings"
    exit 0
fi

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
    '^\./usr/share/doc/pemira/copyright$'
    '^\./usr/share/doc/pemira/changelog\.gz$'
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
# Lines as Debian's tools show them.
long=$(dpkg-deb -f "$deb" Description | awk 'length > 79')
[ -z "$long" ] || fail "description lines over 79 columns: $long"

tree="$work/tree"
dpkg-deb -x "$deb" "$tree"
head -1 "$tree/usr/share/doc/pemira/copyright" \
    | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || fail "the copyright file is not machine-readable"
grep -qx 'License: GPL-3+' "$tree/usr/share/doc/pemira/copyright" || fail "copyright names no licence"
zcat "$tree/usr/share/doc/pemira/changelog.gz" | head -1 | grep -q "^pemira ($version) " \
    || fail "the changelog does not open with this version"
for binary in "$tree"/usr/bin/pemira "$tree"/usr/lib/*/pemira/*.so "$tree"/usr/lib/pemira/*.so; do
    [ -e "$binary" ] || continue
    sections=$(readelf -SW "$binary")
    ! grep -q ' \.comment ' <<<"$sections" || fail "$binary keeps its .comment section"
    readelf -dW "$binary" | grep -Eq 'BIND_NOW|FLAGS_1.* NOW' || fail "$binary is not bound at load"
    readelf -lW "$binary" | grep -q GNU_RELRO || fail "$binary has no read-only relocations"
done

# Reproducible: a second build of the same tree gives the same bytes.
again=$(pack "$work/second")
cmp "$deb" "$again" || fail "two builds of the package differ"
echo "package ok: $(basename "$deb")"
