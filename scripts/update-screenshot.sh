#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Retakes the README's screenshot and the software-centre screenshots named in the metainfo
# from the real game: the end-to-end test saves the windows under Xvfb in build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
KVELT_RETAKE_SCREENSHOTS=1 ctest --preset default -R e2e_x11
cp build/screenshots/kvelt.png docs/screenshot.png
cp build/screenshots/screenshot-library.png build/screenshots/screenshot-victory.png docs/
echo "docs/screenshot.png, docs/screenshot-library.png and docs/screenshot-victory.png updated"
