#!/usr/bin/env bash
# Builds and runs every benchmark, printing their figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DOLVO_BUILD_BENCH=ON
for b in "${OLVO_BUILD_DIR:-$root/build}"/bin/*_bench; do
  echo "== $(basename "$b")"
  "$b"
done
