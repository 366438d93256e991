#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Fails when a C++ file of the repository differs from what .clang-format makes of it, and
# names the files.
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
unformatted=()
while IFS= read -r -d '' file; do
    if ! "$format" --dry-run --Werror "$file" >/dev/null 2>&1; then unformatted+=("$file"); fi
done < <(if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h'
else
    # A source tarball has no git: every C++ file outside build folders.
    find . -path './build*' -prune -o -path './obj-*' -prune -o -path ./debian -prune -o \
        \( -name '*.cpp' -o -name '*.h' \) -type f -print0
fi)
if ((${#unformatted[@]})); then
    printf 'not formatted by .clang-format: %s\n' "${unformatted[@]}" >&2
    echo "run: git ls-files '*.cpp' '*.h' | xargs $format -i" >&2
    exit 1
fi
echo "every C++ file is formatted"
