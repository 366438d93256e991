#!/usr/bin/env bash
# Retakes the README's screenshot from the real game: the end-to-end test saves the window
# under Xvfb as build/screenshots/kvelt.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --preset default -R e2e_x11
cp build/screenshots/kvelt.png docs/screenshot.png
echo "docs/screenshot.png updated"
