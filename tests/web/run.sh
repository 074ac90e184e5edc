#!/usr/bin/env bash
# The page's zip reader and score table reader under node, then the browser tests: puppeteer-core
# as pinned by package-lock.json, Debian's chromium headless, against build-web/ (./web.sh builds
# it) and the desktop build's runner and content.
set -euo pipefail
cd "$(dirname "$0")"
if [ ! -d node_modules/puppeteer-core ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null
fi
exec node --test zip.test.mjs scores.test.mjs browser.test.mjs player_files.test.mjs page_loading.test.mjs page_keys.test.mjs
