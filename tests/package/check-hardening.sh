#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The programs of a package (DEB) as hardening-check and lintian see them: every hardening
# feature there, no .comment or .note section left by the strip, and the build id kept for
# the debug symbols. Run on the source package's .deb and on the CPack one.
#   bash check-hardening.sh DEB
# One false alarm is let through: "Fortify Source functions: no" when the only unprotected
# calls are memcpy, memmove and memset. Fortify checks a call only where the compiler knows
# the size of the target, which it never does inside the standard containers; kvelt-outline
# has no other call it could check. And "Control flow integrity" is not asked of
# hardening-check: it wants the IBT and SHSTK property note, which the linker drops unless
# every object has it, and Debian 12's C start files (crt1.o, crti.o) have none. The code
# itself is built with -fcf-protection, so this checks its endbr64 landing pads instead.
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$1" "$root"
status=0
for program in "$root"/usr/games/kvelt "$root"/usr/games/kvelt-outline; do
    report=$(hardening-check --verbose --nocfprotection "$program" || true)
    echo "$report"
    failed=$(echo "$report" | grep -E '^ [^:]+: no' | grep -v '(ignored)$' |
             grep -v '^ Fortify Source functions: no, only unprotected' || true)
    if echo "$report" | grep -q '^ Fortify Source functions: no'; then
        others=$(echo "$report" | sed -n 's/^\tunprotected: //p' | grep -vxE 'memcpy|memmove|memset' || true)
        [ -z "$others" ] || failed+=$'\n'" unprotected: $others"
    fi
    if [ -n "$failed" ]; then
        echo "$program lacks:$failed"
        status=1
    fi
    pads=$(objdump -d "$program" | grep -c endbr64 || true)
    if [ "$pads" -lt 100 ]; then
        echo "$program lacks -fcf-protection: only $pads endbr64 instructions"
        status=1
    fi
    sections=$(readelf -SW "$program" | grep -oE ' \.(comment|note) ' || true)
    if [ -n "$sections" ]; then
        echo "$program keeps the sections:$sections"
        status=1
    fi
    if ! readelf -SW "$program" | grep -q ' \.note\.gnu\.build-id '; then
        echo "$program lost .note.gnu.build-id, by which its debug symbols are found"
        status=1
    fi
done
exit $status
