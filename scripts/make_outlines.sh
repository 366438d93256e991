#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Rebuilds every data/Examples/NNNN.kvt from its drawing data/outlines/NNNN.txt with the
# built kvelt-outline tool, then checks the whole folder. Stops at the first drawing the
# tool refuses. Usage: bash scripts/make_outlines.sh [path/to/kvelt-outline]
set -euo pipefail
cd "$(dirname "$0")/.."
tool="${1:-build/bin/kvelt-outline}"
if [[ ! -x "$tool" ]]; then
    echo "make_outlines: $tool not found; build the project first" >&2
    exit 1
fi
mkdir -p data/Examples
shopt -s nullglob
arts=(data/outlines/*.txt)
if (( ${#arts[@]} == 0 )); then
    echo "make_outlines: no drawings in data/outlines" >&2
    exit 1
fi
for art in "${arts[@]}"; do
    out="data/Examples/$(basename "$art" .txt).kvt"
    if ! "$tool" encode "$art" -o "$out"; then
        echo "make_outlines: $art refused" >&2
        exit 1
    fi
done
"$tool" check data/Examples
echo "make_outlines: ${#arts[@]} outlines rebuilt"
