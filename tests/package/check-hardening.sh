#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The programs of a package (DEB) as hardening-check and lintian see them: every hardening
# feature there, and no .comment or .note section left by the strip.
#   bash check-hardening.sh DEB
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$1" "$root"
status=0
for program in "$root"/usr/games/kvelt "$root"/usr/games/kvelt-outline; do
    hardening-check --color=no "$program" || status=1
    sections=$(readelf -SW "$program" | grep -oE ' \.(comment|note) ' || true)
    if [ -n "$sections" ]; then
        echo "$program keeps the sections:$sections"
        status=1
    fi
done
exit $status
