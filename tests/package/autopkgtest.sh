#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs the source package's autopkgtest (debian/tests) on this machine with the null
# runner, which installs the packages the .changes names; then purges them, which must
# leave nothing of the game behind (its tests played it as root too).
#   bash autopkgtest.sh CHANGES
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
    echo "autopkgtest with the null runner installs packages: it needs the superuser"
    exit 77
fi
autopkgtest "$1" -- null || exit 1
said=$(dpkg --purge kvelt 2>&1) || { echo "$said"; exit 1; }
# dpkg leaves a folder holding files it did not install, and says so.
if grep -q "not empty so not removed" <<<"$said"; then
    echo "$said"
    exit 1
fi
left=()
for path in /usr/games/kvelt /usr/games/kvelt-outline /usr/share/games/kvelt /usr/lib/games/kvelt \
            /usr/share/doc/kvelt; do
    [ ! -e "$path" ] || left+=("$path")
done
if [ ${#left[@]} -gt 0 ]; then
    echo "the purge left: ${left[*]}"
    exit 1
fi
echo "purged: nothing of the game is left"
