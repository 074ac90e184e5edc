#!/usr/bin/env bash
# Installs what is missing, builds, writes the default content and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cd build/data
exec ../kavorind
