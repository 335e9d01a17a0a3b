#!/usr/bin/env bash
# Runs every benchmark that the build produced and prints its figures.
set -uo pipefail
build=${1:-build}
for b in "$build"/bin/*_bench; do
  [[ -x $b ]] || continue
  echo "== $(basename "$b")"
  "$b"
done
