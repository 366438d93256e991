#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Redraws the help document's pictures with the game itself into data/help. The tests
# fail while the shipped pictures differ from what the game draws.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build/bin/kvelt-help-pictures data/Examples data/help
echo "data/help updated"
