#!/usr/bin/env bash
# Redraws the help document's pictures with the game itself into data/help. The tests
# fail while the shipped pictures differ from what the game draws.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build/bin/kvelt-help-pictures data/Examples data/help
echo "data/help updated"
