#!/usr/bin/env bash
# Configures and builds the project into build/ (or $OLVO_BUILD_DIR).
# Extra arguments go to the CMake configure step, e.g. -DOLVO_SANITIZE=ON.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OLVO_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
