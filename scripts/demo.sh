#!/usr/bin/env bash
# Builds and runs the demo window (framework and native controls, a popup,
# a tray icon) on the desktop host. Needs a display; with no DISPLAY set it
# starts a virtual one (Xvfb) and a tray host (trayer) for the run.
#   scripts/demo.sh                      run it until its window is closed
#   scripts/demo.sh --screenshot FILE    run it, save a screenshot of the
#                                        screen to FILE, and stop it
#   scripts/demo.sh gallery [--screenshot FILE]
#                                        the same for the skinned controls'
#                                        gallery (the picture shows its popup
#                                        menu open with a submenu)
#   scripts/demo.sh gallery-controls [--chinese] [--screenshot FILE]
#                                        the gallery's translated window of
#                                        the other controls, in English or
#                                        Chinese
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OLVO_BUILD_DIR:-$root/build}
program=olvo-demo
program_args=()
if [ "${1:-}" = "gallery" ]; then
  program=olvo-gallery
  shift
elif [ "${1:-}" = "gallery-controls" ]; then
  program=olvo-gallery
  program_args=(--controls)
  shift
  if [ "${1:-}" = "--chinese" ]; then
    program_args+=(--chinese)
    shift
  fi
fi
shot=""
if [ "${1:-}" = "--screenshot" ]; then
  shot=${2:?usage: demo.sh [gallery | gallery-controls [--chinese]] --screenshot FILE}
  [ "$program" = olvo-gallery ] && [ ${#program_args[@]} -eq 0 ] && program_args=(--menu-open)
fi

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target "$program"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 130 160); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    break
  done
  trayer --edge top --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
  pids+=($!)
fi

if [ -z "$shot" ]; then
  "$build/bin/$program" "${program_args[@]}"
  exit 0
fi
"$build/bin/$program" "${program_args[@]}" &
demo=$!
pids+=("$demo")
# The window is up once X knows a visible window of the process.
for _ in $(seq 100); do
  xdotool search --onlyvisible --pid "$demo" >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1  # let the native widgets and the tray icon settle for the picture
import -window root "$shot"
echo "screenshot: $shot"
