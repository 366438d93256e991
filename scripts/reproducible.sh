#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian package twice from the commit checked out and fails unless the two
# give byte-identical .deb files. The builds differ in what must not matter: the folder
# (and its depth), the time, the umask (022 and 002) and the time zone. The first build is
# the whole source package (dpkg-buildpackage -us -uc); its .changes, .dsc, tarballs and
# .deb files are left in OUT for the other package checks. The builds pass nocheck (the
# test suite has its own runs); KVELT_CHECK=1 runs the suite inside the first one.
#
#   bash scripts/reproducible.sh OUT
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)
out=$(mkdir -p "${1:?usage: reproducible.sh OUT}" && cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kvelt-repro.XXXXXX")
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^project(kvelt VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)

# A compiler launcher from the caller's environment would differ between the builds.
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
tarball=$(bash scripts/orig-tarball.sh "$work")

# build NAME FOLDER UMASK TZ DPKG-BUILDPACKAGE-OPTIONS...
build() {
    local name=$1 folder=$2 mask=$3 zone=$4
    shift 4
    mkdir -p "$folder"
    cp "$tarball" "$folder/.."
    tar -xf "$tarball" -C "$folder" --strip-components=1
    # debian/ as committed: git archive keeps modes and times from the commit.
    git -C "$source_dir" archive --format=tar HEAD debian | tar -xf - -C "$folder"
    local options=nocheck profiles=nocheck
    if [ "$name" = first ] && [ "${KVELT_CHECK:-0}" = 1 ]; then options="" profiles=""; fi
    echo "reproducible: $name build in $folder (umask $mask, TZ=$zone)"
    (cd "$folder" && umask "$mask" &&
        TZ="$zone" DEB_BUILD_OPTIONS="$options parallel=$(nproc)" DEB_BUILD_PROFILES="$profiles" \
        dpkg-buildpackage -us -uc "$@") >"$work/$name.log" 2>&1 ||
        { tail -n 60 "$work/$name.log"; echo "reproducible: the $name build failed"; exit 1; }
}

build first "$work/a/kvelt-$version" 022 UTC
build second "$work/elsewhere/deeper/kvelt" 002 Pacific/Kiritimati -b

status=0
for deb in "$work"/a/*.deb; do
    other="$work/elsewhere/deeper/$(basename "$deb")"
    if [ ! -f "$other" ]; then
        echo "reproducible: the second build made no $(basename "$deb")"
        status=1
    elif cmp -s "$deb" "$other"; then
        echo "reproducible: $(basename "$deb") is the same in both builds"
    else
        echo "reproducible: $(basename "$deb") differs"
        if command -v diffoscope >/dev/null; then diffoscope "$deb" "$other" | head -n 200 || true; fi
        status=1
    fi
done
rm -f "$out"/*
cp "$work"/a/kvelt_* "$work"/a/kvelt-dbgsym_* "$out"/
cp "$work/first.log" "$out/build.log"
exit $status
