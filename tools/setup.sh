#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing need on Debian 12; only what is missing.
set -euo pipefail

packages=(build-essential cmake ninja-build ccache qt6-base-dev qt6-svg-dev qt6-webengine-dev
          libgl-dev libfontconfig-dev fonts-ipafont-gothic fonts-ipafont-mincho)
if [ "${1:-}" = "--test" ]; then
    packages+=(xvfb xauth xdotool x11-utils imagemagick faketime poppler-utils cups
               printer-driver-cups-pdf clang-format clang libclang-rt-14-dev
               at-spi2-core dbus-x11 python3-pyatspi gir1.2-atspi-2.0 python3-gi
               desktop-file-utils appstream dpkg-dev lintian)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
