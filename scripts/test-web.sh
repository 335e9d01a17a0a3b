#!/usr/bin/env bash
# The web page's tests: the native workflow writes the answers the page must give, then
# the page runs in Debian's headless Chromium, driven by playwright-core from npm.
# Usage: test-web.sh BUILD_DIR WEB_BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
web=$2

cmake --build "$build" -j2 --target web_expected >/dev/null
"$build/bin/web_expected" >"$web/expected.json"

./scripts/web-node-modules.sh
cd web
IZOL_WEB_DIR="$PWD/../$web/izolcalc-web" IZOL_EXPECTED="$PWD/../$web/expected.json" \
  node --test --test-concurrency=1 tests/
