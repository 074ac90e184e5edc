#!/usr/bin/env bash
# The same set-up as play.sh, then every test. Exits non-zero when one fails.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh --tests
ctest --preset default -j "$(nproc)" --timeout 600
