#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Makes the upstream tarball of the source package, kvelt_VERSION.orig.tar.xz, from the
# commit checked out (HEAD by default, or the one named by a second argument), without the
# debian/ folder. git archive takes every time from the commit and xz adds none, so the
# same commit always gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-..}"
commit="${2:-HEAD}"
version=$(git show "$commit:CMakeLists.txt" | sed -n 's/^project(kvelt VERSION \([0-9.]*\) .*/\1/p')
[ -n "$version" ] || { echo "orig-tarball: no version in CMakeLists.txt" >&2; exit 1; }
mkdir -p "$out"
tarball="$out/kvelt_$version.orig.tar.xz"
git archive --format=tar --prefix="kvelt-$version/" "$commit" -- . ':(exclude)debian' |
    xz -9 -T1 >"$tarball"
echo "$tarball"
