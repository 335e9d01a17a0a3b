#!/usr/bin/env bash
# Runs every benchmark that the build produced and prints its figures. The start-up bench
# needs a real (virtual) display; the others draw offscreen.
set -uo pipefail
build=${1:-build}
web=${2:-build-web}
for b in "$build"/bin/*_bench; do
  [[ -x $b ]] || continue
  echo "== $(basename "$b")"
  # 21 rounds of the start-up bench: with 10, a slow spell of the machine moved its ratio
  # by several hundredths.
  if [[ $(basename "$b") == startup_bench && -z ${DISPLAY:-} ]]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$b" 21 2>/dev/null
  elif [[ $(basename "$b") == startup_bench ]]; then
    "$b" 21
  else
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$b"
  fi
done

# The web page beside the desktop: the same calculations, timed in headless Chromium.
if [[ -d $web/izolcalc-web ]]; then
  echo "== web page"
  desktop=$(mktemp)
  "$build/bin/workflow_bench" --benchmark_filter=BM_Calculate --benchmark_format=json >"$desktop" 2>/dev/null
  ./scripts/web-node-modules.sh &&
    IZOL_WEB_DIR="$web/izolcalc-web" node web/bench/page_bench.mjs "$desktop"
  "$build/bin/workflow_bench" --benchmark_filter=BM_ImportLines --benchmark_format=json >"$desktop" 2>/dev/null
  IZOL_WEB_DIR="$web/izolcalc-web" node web/bench/schedule_bench.mjs "$desktop"
  rm -f "$desktop"
fi
