#!/usr/bin/env bash
# The game in a web browser. Usage:
#   ./web.sh          builds it into build-web/ (the desktop set-up first, for the default content)
#   ./web.sh serve    builds it, then serves build-web/ on this machine and prints the address
#   ./web.sh test     builds it, then checks it in headless chromium (tests/web/)
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
scripts/setup_web.sh
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
nice cmake --build --preset web -j 2

case "${1:-}" in
"") echo "The browser build is in build-web/; ./web.sh serve serves it." ;;
serve) exec python3 web/serve.py build-web "${2:-8016}" ;;
test) exec tests/web/run.sh ;;
*) echo "usage: ./web.sh [serve [PORT] | test]" >&2; exit 2 ;;
esac
