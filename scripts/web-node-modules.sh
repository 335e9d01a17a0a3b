#!/usr/bin/env bash
# Installs the page's test tools as web/package-lock.json pins them (playwright-core), once;
# never a browser: the tests drive Debian's Chromium.
set -euo pipefail
cd "$(dirname "$0")/../web"
if [[ ! -f node_modules/.package-lock.json || package-lock.json -nt node_modules/.package-lock.json ]]; then
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
fi
