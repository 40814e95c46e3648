#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (labels unit, gui,
# e2e). The tests on the display get a virtual X display of their own (Xvfb,
# no window manager), so a desktop's window manager, compositor and focus
# never disturb them. Extra arguments go to ctest, e.g. -L unit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OLVO_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

cleanup() { [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [ -z "${OLVO_KEEP_DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # -noreset: the server would otherwise restart whenever its last client
    # leaves (between two tests), refusing whoever connects meanwhile.
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    break
  done
fi

# Tests never touch the real user's folders or settings.
export GSETTINGS_BACKEND=memory
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" "$@"
