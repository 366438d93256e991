#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Lists every folder-to-folder include edge under src/ ("from -> to  count") and fails when
# two folders include each other, directly or through others. The model's operations draw
# through the drawing procedures by design: that one upward edge, model -> view, is left
# out of the test.
set -euo pipefail
cd "$(dirname "$0")/../src"
edges=$(grep -rHo '^#include "[a-z]*/' --include='*.cpp' --include='*.h' . |
    sed -E 's#^\./([a-z]+)/[^:]*:\#include "([a-z]+)/#\1 \2#' |
    awk '$1 != $2' | sort | uniq -c | awk '{print $2 " -> " $3 "  " $1}')
echo "$edges"
# A cycle among folders: tsort reports one on its error stream.
if ! echo "$edges" | awk '!($1 == "model" && $3 == "view") {print $1, $3}' | tsort >/dev/null 2>/tmp/include-cycle.$$; then
    cat /tmp/include-cycle.$$ >&2
    rm -f /tmp/include-cycle.$$
    echo "include cycle between folders" >&2
    exit 1
fi
if [ -s /tmp/include-cycle.$$ ]; then
    cat /tmp/include-cycle.$$ >&2
    rm -f /tmp/include-cycle.$$
    echo "include cycle between folders" >&2
    exit 1
fi
rm -f /tmp/include-cycle.$$
