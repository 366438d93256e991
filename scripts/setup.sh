#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what building, playing and testing Kvelt need on Debian 12, if it is missing.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-translations-l10n libgl-dev
    fonts-liberation fonts-dejavu-core
    libbenchmark-dev clang-format
    xvfb xauth xdotool x11-apps x11-utils imagemagick openbox wmctrl xclip
    dpkg-dev file lintian appstream desktop-file-utils
    # The source package's checks: dpkg-buildpackage with dh, hardening-check (devscripts),
    # the autopkgtest runner, licensecheck, and diffoscope to show what differs between
    # two builds.
    debhelper devscripts fakeroot autopkgtest licensecheck diffoscope-minimal git xz-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
else
    SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
