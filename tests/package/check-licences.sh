#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Every tracked file that can carry SPDX lines has them (scripts/spdx.sh --check), and
# licensecheck finds a licence in each of those files.
#   bash check-licences.sh SOURCE
set -euo pipefail
cd "$1"
status=0
if ! missing=$(bash scripts/spdx.sh --check); then
    echo "without SPDX lines (bash scripts/spdx.sh adds them):"
    echo "$missing"
    status=1
fi
unknown=$(bash scripts/spdx.sh --list | tr '\n' '\0' | xargs -0 licensecheck --lines 30 |
          grep -E ': (UNKNOWN|\*No copyright\* UNKNOWN)$' || true)
if [ -n "$unknown" ]; then
    echo "licensecheck finds no licence in:"
    echo "$unknown"
    status=1
fi
exit $status
